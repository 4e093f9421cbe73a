# run: status=2 args=--jobs,3,suite/passes.sps,suite/no_such_script.sps,suite/invalid.sps,%
# As scripts_several, on three processes at once: the same output in the
# order of the scripts, the same complaints on standard error and the same
# exit status.
case a failed expect
expect MW0 1
