# run: status=1 args=grade,class/abgaben,--test,class/test.sps,--jobs,2,--timeout,1
# spsrun grade: the test against every *.awl of the folder, in two processes;
# a file that does not load and a submission that never gets there count as
# failed without stopping the others. This file is not read.
