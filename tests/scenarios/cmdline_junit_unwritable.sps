# run: status=2 args=--junit,programs/no_such_folder/report.xml,%
# A report that cannot be written: the script still runs, the exit status is 2.
expect MW0 0
echo ran
