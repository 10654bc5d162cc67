# The commands orvane-ctl's help lists, one per line (sourced by the packaging checks).
ctl_commands() {
    "$1" --help | sed -n '/^Commands:/,/^  --/p' | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p'
}
