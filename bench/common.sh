# Sourced by the benchmark scripts, from the repository root with ROOT set:
# the program binary (built when missing), the private services, and the
# measured program (SUBJECT_PID), stopped by its process id and at the end
# with everything the services started. A script that starts more defines
# bench_cleanup to stop it.
BUILD_DIR=${NUVASK_BUILD_DIR:-build}
BIN=$ROOT/$BUILD_DIR/app/nuvask
if [ ! -x "$BIN" ]; then
  cmake --build "$BUILD_DIR" --parallel 2 --target nuvask >/dev/null || { echo "build $BIN first" >&2; exit 1; }
fi

. "$ROOT/scripts/services.sh"
SUBJECT_PID=""
stop_subject() {
  [ -n "$SUBJECT_PID" ] && services_stop_pid "$SUBJECT_PID"
  SUBJECT_PID=""
}
bench_cleanup_all() {
  stop_subject
  declare -F bench_cleanup >/dev/null && bench_cleanup
  services_stop_all
}
trap bench_cleanup_all EXIT
trap 'exit 130' INT TERM
