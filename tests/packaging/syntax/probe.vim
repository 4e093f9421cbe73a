" Run by check_syntax_files.sh on sample.awl: the syntax groups that Vim
" gives chosen places of the sample, the file type, and no error on the way.
" An unknown mnemonic (FOO) stays in the plain first word.
let s:want = [[5, 1, 'awlInstruction'], [5, 3, 'awlOperand'], [1, 1, 'awlBlock'], [2, 1, 'awlTitle'], [4, 11, 'awlComment'], [6, 12, 'awlNumber'], [6, 7, 'awlOperand'], [6, 1, 'awlInstruction'], [7, 1, 'awlFirstWord'], [4, 9, 'awlNumber']]
for [l, c, g] in s:want
  let got = synIDattr(synID(l, c, 1), 'name')
  if got !=# g
    echo 'line ' . l . ' col ' . c . ': ' . got . ' instead of ' . g
    cquit
  endif
endfor
if &filetype !=# 'awl' | echo 'filetype ' . &filetype | cquit | endif
