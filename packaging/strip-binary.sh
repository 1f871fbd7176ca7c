#!/bin/sh
# The strip CPack runs on the packaged programs: as Debian's dh_strip does, the symbols and
# the .comment and .note sections go, which plain strip keeps.
exec strip --remove-section=.comment --remove-section=.note "$@"
