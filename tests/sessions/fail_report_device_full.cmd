# POSIX only: a device that is always full
# The link points at a device node of the session's own, so a save gone
# wrong could replace only that node, never /dev/full; where no node can
# be made (not root), at /dev/full itself, which must stay a device.
mknod full c 1 7 2>/dev/null || ln -s /dev/full full
ln -s full outputdata.txt && roster < "$IN"
status=$?
# The link is still the same link, and the device a device.
readlink outputdata.txt
[ -c full ] || echo "full is no longer a device"
exit $status
