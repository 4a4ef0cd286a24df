" Murmex conversation scripts: by their name, or by the magic first line that
" every script starts with whatever it is called. Set outright, so that the
" plain-text type that *.txt gets first gives way.
autocmd BufRead,BufNewFile *.chr.txt set filetype=murmex
autocmd BufRead * if getline(1) =~# '^MurmexSrcFile\r\=$' | set filetype=murmex | endif
