#!/usr/bin/env bash
# Fails when a layer includes what it must not: the viewer only the platform's public headers
# and the standard library; the quote service nothing of the viewer or the platform; only the
# terminal screen curses and only the HTTP client curl.
set -u
status=0
bad() { echo "layering: $1"; status=1; }

hits=$(grep -rnE '#include\s*[<"](curses|ncurses|ncursesw/|curl/|unistd|fcntl|sys/|pthread|httplib)' app || true)
[ -n "$hits" ] && bad "app/ includes system or library headers:"$'\n'"$hits"
hits=$(grep -rnE '#include\s*"(model|quotes|settings|listview|shell|resources|platform)/' quoteserver || true)
[ -n "$hits" ] && bad "quoteserver/ includes viewer or platform headers:"$'\n'"$hits"
hits=$(grep -rlE '#include\s*[<"](curses|ncurses|ncursesw/)' platform | grep -v 'terminal_device' || true)
[ -n "$hits" ] && bad "curses outside the terminal screen:"$'\n'"$hits"
hits=$(grep -rlE '#include\s*[<"]curl/' platform | grep -v 'http_client' || true)
[ -n "$hits" ] && bad "curl outside the HTTP client:"$'\n'"$hits"
exit $status
