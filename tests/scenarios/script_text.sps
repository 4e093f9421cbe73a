# Comments, blanks, tabs, echo and quit.
	# a comment after a tab

echo plain text   keeps    its inner blanks   # but not the comment
echo inside a word it stays: 16#FF and C#, and this # begins a comment
echo
set MW0 16#FF	# a base prefix is no comment
print	MW0		/W
echo Umlaute im Skript: Zähler
echo -- quit ends the script here
quit
echo not printed
frobnicate
