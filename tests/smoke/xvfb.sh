# Sourced by the Xvfb tests: start_xvfb starts a server on a free display of 1024 x 768 and sets
# xvfb_pid and display (the number, without the colon).
start_xvfb() {
    local line
    xvfb_pid='' display=''
    exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>&1 >/dev/null 2>&1 & echo "pid $!"; wait)
    for _ in 1 2; do
        read -r line <&3
        case "$line" in
        pid\ *) xvfb_pid=${line#pid } ;;
        *) display=$line ;;
        esac
    done
}
