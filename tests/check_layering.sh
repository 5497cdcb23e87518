#!/usr/bin/env bash
# Fails when a file includes what its layer must not. The viewer sees only the platform's
# public headers and the standard library; the quote service nothing of the viewer or the
# platform; only the terminal device curses; no HTTP library in the platform (its client
# speaks HTTP over sockets itself). Inside the platform a layer includes only its own headers and those of
# the layers below it:
#
#   host < kernel32, advapi32 < winsys < user32, wininet < comctl32, aygshell < device < testing
#
# (winsys is the engine under user32's calls and reads user32's public headers for their types
# and numbers; the link checks of the build catch a call into a higher layer).
set -u
status=0
bad() {
    echo "layering: $1"
    status=1
}

rank() {
    case $1 in
        host) echo 0 ;;
        kernel32 | advapi32) echo 1 ;;
        winsys) echo 2 ;;
        user32 | wininet) echo 3 ;;
        comctl32 | aygshell) echo 4 ;;
        device) echo 5 ;;
        testing) echo 6 ;;
        *) echo -1 ;;
    esac
}

# Whether a file of layer $1 may include a header of layer $2 (public when $3 is "public").
allowed() {
    local from=$1 to=$2 kind=$3
    [ "$from" = "$to" ] && return 0
    [ "$from" = winsys ] && [ "$to" = user32 ] && [ "$kind" = public ] && return 0
    [ "$(rank "$to")" -lt "$(rank "$from")" ]
}

check_platform_file() {
    local file=$1 layer=$2 line target kind
    while IFS= read -r line; do
        target=${line#*\"}
        target=${target%%\"*}
        case $target in
            platform/*)
                kind=public
                target=${target#platform/}
                ;;
            *) kind=internal ;;
        esac
        target=${target%%/*}
        [ "$target" = win_types.h ] && target=host
        [ "$(rank "$target")" -lt 0 ] && continue
        allowed "$layer" "$target" "$kind" || bad "$file ($layer) includes $line"
    done < <(grep -hE '^#include "' "$file")
}

for file in $(find platform/src -name '*.cpp' -o -name '*.h'); do
    layer=${file#platform/src/}
    check_platform_file "$file" "${layer%%/*}"
done
for file in $(find platform/include/platform -name '*.h'); do
    layer=${file#platform/include/platform/}
    case $layer in */*) layer=${layer%%/*} ;; *) layer=host ;; esac
    check_platform_file "$file" "$layer"
done

# The quote service's rooms, each including only its own headers and those of the rooms below:
#
#   common < protocol, http, pages < sources < sim, relay, routes < providers < setup (the top folder)
#
# sources/ sees neither the simulated market nor the relay; only the set-up knows every source.
service_rank() {
    case $1 in
        common) echo 0 ;;
        protocol | http | pages) echo 1 ;;
        sources) echo 2 ;;
        sim | relay | routes) echo 3 ;;
        relay/providers) echo 4 ;;
        .) echo 5 ;;
        *) echo -1 ;;
    esac
}

check_service_file() {
    local file=$1 room=$2 line target to
    while IFS= read -r line; do
        target=${line#*\"}
        target=${target%%\"*}
        to=$(dirname "$target")
        [ "$to" = "$room" ] && continue
        if [ "$(service_rank "$to")" -lt 0 ] ||
            [ "$(service_rank "$to")" -ge "$(service_rank "$room")" ]; then
            bad "$file ($room) includes $line"
        fi
    done < <(grep -hE '^#include "' "$file")
}

for file in $(find quoteserver/src -name '*.cpp' -o -name '*.h'); do
    room=$(dirname "${file#quoteserver/src/}")
    check_service_file "$file" "$room"
done

posix='unistd|fcntl|poll|signal|csignal|termios|dirent|dlfcn|pthread|sched|semaphore|spawn'
posix+='|netdb|netinet/|arpa/|sys/|curses|ncurses|ncursesw/|curl/|httplib'
hits=$(grep -rnE "#include\s*<($posix)[^>]*>" app || true)
[ -n "$hits" ] && bad "app/ includes system or library headers:"$'\n'"$hits"
hits=$(grep -rnE '#include\s*"' app | grep -vE '#include\s*"(model|quotes|settings|listview|shell|resources|platform)/' || true)
[ -n "$hits" ] && bad "app/ includes headers from outside its folders and the platform's API:"$'\n'"$hits"
hits=$(grep -rnE '#include\s*"platform/testing/' app || true)
[ -n "$hits" ] && bad "app/ includes the platform's test helpers:"$'\n'"$hits"
hits=$(grep -rnE '#include\s*"(model|quotes|settings|listview|shell|resources|platform)/' quoteserver || true)
[ -n "$hits" ] && bad "quoteserver/ includes viewer or platform headers:"$'\n'"$hits"
hits=$(grep -rlE '#include\s*[<"](curses|ncurses|ncursesw/)' platform | grep -v 'device/terminal_device.cpp' || true)
[ -n "$hits" ] && bad "curses outside the terminal device:"$'\n'"$hits"
hits=$(grep -rlE '#include\s*[<"](curl/|httplib)' platform || true)
[ -n "$hits" ] && bad "an HTTP library in the platform:"$'\n'"$hits"
exit $status
