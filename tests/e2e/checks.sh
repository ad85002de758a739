# What both end-to-end tests check (sourced). The test sets `work` (its temporary folder,
# holding zonvex.log), `install` (the installation's host folder), `write_profile` (the tool
# that writes a profile's files) and `pid` (the program, once started), and cleans up with
# end_to_end_cleanup.

fail() {
  echo "FAIL: $*" >&2
  echo "--- program's output:" >&2
  cat "$work/zonvex.log" >&2 || true
  exit 1
}

end_to_end_cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "${SAMPLE_SERVER:-}" ] && kill "$SAMPLE_SERVER" 2>/dev/null || true
  rm -rf "$work"
}

# expect_profile PROFILE VERSION: the installation holds exactly that profile's files, and
# nothing else under RUDE (no temporary file left behind).
expect_profile() {
  local expected="$work/expected-$1-$2"
  mkdir -p "$expected/RUDE/config"
  "$write_profile" "$expected" "$1" "$2"
  for file in RUDE/config/dirserver.xml RUDE/config/VersionServerConfig.xml RUDE/mmog_data.xml; do
    cmp -s "$install/$file" "$expected/$file" || fail "$file is not the $1 file with version $2"
  done
  local left
  left="$(cd "$install/RUDE" && find . -type f | sort | tr '\n' ' ')"
  [ "$left" = "./config/VersionServerConfig.xml ./config/dirserver.xml ./mmog_data.xml " ] ||
    fail "a temporary file was left behind: $left"
}
