#!/bin/sh
# Strips a program or library of the package as Debian's dh_strip does: the symbols and debugging
# information, and the compiler's version notes (.comment, .note) that nothing reads at run time.
# CPack calls it on each file in place of strip.
exec strip --remove-section=.comment --remove-section=.note "$@"
