# run: status=2 args=suite/wide_set.sps,suite/wide_expect.sps,suite/wide_force.sps,suite/wide_write.sps,suite/wide_break.sps,suite/wide_until.sps,%
# A constant that 32 bits cannot hold is refused by every command that takes
# a value, with the text of a value too wide for its operand; the low 32 bits
# that the program syntax would keep (1 for 4294967297) are never used. The
# widest values that 32 bits hold still pass, and then the width of the
# operand decides as usual.
force VD0 4294967295
force VD4 -2147483648
forces
expect VD0 4294967295
expect VD4 -2147483648
break VD0 == 4294967295
breaks
write MB10 300
print MB10
