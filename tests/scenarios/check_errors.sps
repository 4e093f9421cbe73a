# run: status=1 args=check,programs/syntax_error.awl,programs/switch_to_led.awl,programs/missing.awl
# check reads each file without running it and prints each error as
# FILE:LINE: Fehler: TEXT; a file that cannot be read names no line. This
# file is not read.
