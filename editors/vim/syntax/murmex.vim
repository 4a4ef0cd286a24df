" Vim syntax file
" Language: Murmex conversation script (*.chr.txt)
"
" The keywords and the operators are the TextMate grammar's
" (editors/textmate/murmex.tmLanguage.json); a test compares the two.
" Outside quotes a script holds only keywords, '=', ',', braces and comments,
" so a keyword needs no context; inside quotes it is text.

if exists('b:current_syntax')
  finish
endif

syn case match

syn keyword murmexHeader TITLE COLOR TEXTCOLOR
syn keyword murmexField S N Q A ACT PARAM VAL ID OP

" Texts run to the closing quote or the end of the line; '&' marks the letter
" after it as the question's shortcut, '&&' stands for one '&'.
syn region murmexString start=/"/ end=/"\|$/ oneline contains=murmexAmpersand,murmexMnemonic
syn match murmexAmpersand /&&/ contained
syn match murmexMnemonic /&[^&"]/ contained

" Defined after the string, so that at the same quote these win.
syn match murmexNumber /"-\=\d\+"/
syn match murmexAction /"ACT_[A-Z_]\+"/
syn match murmexOperator /\(OP\s*=\s*\)\@<="\(==\|!=\|<\|>\|not\)"/
syn match murmexCharacter /"[^"\r\n]*"\ze\s*{/

syn match murmexBrace /[{}]/
syn match murmexComment /#.*$/ contains=@Spell
syn match murmexMagic /\%1l^MurmexSrcFile\ze\r\=$/

hi def link murmexHeader Statement
hi def link murmexField Identifier
hi def link murmexString String
hi def link murmexAmpersand SpecialChar
hi def link murmexMnemonic Underlined
hi def link murmexNumber Number
hi def link murmexAction Constant
hi def link murmexOperator Operator
hi def link murmexCharacter Type
hi def link murmexBrace Delimiter
hi def link murmexComment Comment
hi def link murmexMagic PreProc

let b:current_syntax = 'murmex'
