# Texts that XML must escape or cannot hold: markup, quotes, a control
# character, a byte that is not UTF-8 (ISO-8859-1 ‰), the core's umlauts.
case Sonderzeichen ‰ <&>
echo <b>&amp;</b> "quoted" 'single' ]]>  Straﬂe
print VB5000
expect VB5000 0
