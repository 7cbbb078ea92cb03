# shellcheck shell=bash
# Sourced by the build and test scripts and by .ci/run.
#
# timed NAME COMMAND [ARGUMENTS...] runs COMMAND (a program or a function of
# the calling script) and says on stderr how long it took: the wall time, and
# the CPU time (user + system) of everything it started and waited for. The
# CPU figure stays comparable while other work shares the machine; the wall
# time is what CI's limit counts. With R40_TIMES naming a file, a line
# "STAGE<TAB>NAME<TAB>WALL<TAB>CPU" is added to it, STAGE being $R40_STAGE
# (.ci/run sets both; scripts/stage-table prints the file as a table).
# Returns the command's exit status.

# The CPU seconds this shell and its waited-for children have used, into
# _r40_cpu_now. `times` must run in this very shell: a subshell knows nothing
# of its parent's children, so its report goes through a file.
_r40_cpu() {
  local report
  report=$(mktemp)
  times >"$report"
  _r40_cpu_now=$(awk '{ for (i = 1; i <= NF; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] } }
                      END { printf "%.2f", s }' "$report")
  rm -f "$report"
}

timed() {
  local name=$1 status=0 start end cpu_start wall cpu
  shift
  _r40_cpu
  cpu_start=$_r40_cpu_now
  start=$(date +%s.%N)
  "$@" || status=$?
  end=$(date +%s.%N)
  _r40_cpu
  wall=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
  cpu=$(awk -v a="$cpu_start" -v b="$_r40_cpu_now" 'BEGIN { printf "%.1f", b - a }')
  local stage=${R40_STAGE:-} failed=""
  [ "$status" -eq 0 ] || failed=", exit $status"
  echo "timed: ${stage:+$stage }$name: $wall s (CPU $cpu s)$failed" >&2
  if [ -n "${R40_TIMES:-}" ]; then
    printf '%s\t%s\t%s\t%s\n' "${stage:--}" "$name" "$wall" "$cpu" >>"$R40_TIMES"
  fi
  return "$status"
}
