# A scan held network by network, across the subroutine, with the ladder's
# power marks at each point; network breakpoints in every scan.
load programs/networks.awl
stop
switch 0 1
step network
print VW0 VW2 VW4 A0.0
step network 2
print VW2 VW4
show kop
step network 2
print VW4 A0.0
echo -- the output image reached the station at the scan's end
station ledOut
break network SBR0 2
break network OB1 7
break VW0 == 100
breaks
step 5
print VW0 VW2 VW4
step
print VW0 VW4
unbreak 1
step 3
print VW0
