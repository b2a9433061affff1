# Sourced by the scripts: `stage NAME COMMAND...` runs one stage of a longer
# job, prints its duration, and remembers it for `stage_summary`.
stage_names=()
stage_seconds=()

stage() {
  local name="$1"
  shift
  echo "==> ${name}"
  local start=$SECONDS
  "$@"
  local took=$((SECONDS - start))
  stage_names+=("$name")
  stage_seconds+=("$took")
  echo "==> ${name}: ${took} s"
}

stage_summary() {
  echo "==> stage times"
  local i
  for i in "${!stage_names[@]}"; do
    printf '    %-28s %5d s\n' "${stage_names[$i]}" "${stage_seconds[$i]}"
  done
}
