# run: status=2 args=suite/passes.sps,suite/no_such_script.sps,suite/invalid.sps,%
# Several scripts run one after the other, each after a heading. A script that
# cannot be opened or stops on an invalid line is an error, named on standard
# error, and the run goes on; the exit status is then 2.
case a failed expect
expect MW0 1
