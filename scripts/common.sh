# Shared by the two commands: messages, and making sure the machine is set up
# and the build is configured.   Source it after setting SCRIPT_NAME.
say() { printf '==> %s\n' "$*"; }
fail() { printf '%s: %s\n' "$SCRIPT_NAME" "$*" >&2; exit 1; }

prepare_build() {
  say "checking the build machine"
  bash scripts/setup.sh || fail "setting up the machine failed"
  say "configuring (build/)"
  cmake --preset default >/dev/null || fail "cmake configure failed"
  say "building everything"
  cmake --build --preset default || fail "the build failed"
}
