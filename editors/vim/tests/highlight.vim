" Opens the demo and checks the highlight group at one place of each kind of
" line; prints every mismatch and quits with a failure status if there was one.
" Run: nvim --headless --clean --cmd 'set rtp^=editors/vim' --cmd 'filetype on'
"        --cmd 'syntax on' -S editors/vim/tests/highlight.vim examples/demo.chr.txt
" Each row: a pattern that finds the line, the text on it whose first
" character is checked, the group expected there.
let s:rows = [
  \ ['^MurmexSrcFile', 'MurmexSrcFile', 'murmexMagic'],
  \ ['^# The Brackenford demo', 'Brackenford', 'murmexComment'],
  \ ['^TITLE', 'TITLE', 'murmexHeader'],
  \ ['^TITLE', 'Brackenford', 'murmexString'],
  \ ['^TEXTCOLOR', 'TEXTCOLOR', 'murmexHeader'],
  \ ['^COLOR', '"140"', 'murmexNumber'],
  \ ['^"Intro" {', 'Intro', 'murmexCharacter'],
  \ ['^"Intro" {', '{', 'murmexBrace'],
  \ ['&Smith at his forge', 'S =', 'murmexField'],
  \ ['&Smith at his forge', '"-1"\|"0"', 'murmexNumber'],
  \ ['&Smith at his forge', '&S', 'murmexMnemonic'],
  \ ['&Smith at his forge', 'ACT =', 'murmexField'],
  \ ['&Smith at his forge', '"ACT_COMM"', 'murmexAction'],
  \ ['&Smith at his forge', 'PARAM', 'murmexField'],
  \ ['OP = "!="', '"!="', 'murmexOperator'],
  \ ['OP = "not"', '"not"', 'murmexOperator'],
  \ ]

let s:failures = []
if &filetype !=# 'murmex'
  call add(s:failures, 'filetype is "' . &filetype . '", not murmex')
endif
for [s:line_pattern, s:text, s:group] in s:rows
  let s:line = search(s:line_pattern, 'nw')
  let s:column = s:line > 0 ? match(getline(s:line), s:text) + 1 : 0
  let s:got = s:column > 0 ? synIDattr(synID(s:line, s:column, 1), 'name') : 'no such text'
  if s:got !=# s:group
    call add(s:failures, printf('%s on /%s/: expected %s, got %s', s:text, s:line_pattern,
          \ s:group, s:got))
  endif
endfor

if empty(s:failures)
  qall!
endif
call writefile(s:failures, '/dev/stderr')
cquit!
