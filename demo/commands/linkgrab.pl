# Demo stand-in for the cluster communication script; the demo's perl writes the output.
print "linkgrab stub\n";
