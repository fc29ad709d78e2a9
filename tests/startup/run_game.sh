#!/usr/bin/env bash
# Runs the real game executable headless for one end-to-end case and checks its exit status
# and output. Usage: run_game.sh <tarsel> <content folder> <case>
set -uo pipefail
game=$1 content=$2 case=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} SDL_AUDIODRIVER=dummy
export TARSEL_DOCUMENTS=$scratch/documents
mkdir -p "$TARSEL_DOCUMENTS"

fail() { echo "FAIL: $*"; echo "--- output"; cat "$scratch/out"; exit 1; }
# run <folder> <args...>: status in $status, stdout and stderr in $scratch/out
run() {
  local folder=$1; shift
  (cd "$folder" && "$game" "$@") >"$scratch/out" 2>&1
  status=$?
  [ "$status" -lt 128 ] || fail "ended by signal $((status - 128))"
}

case $case in
frames)
  run "$content" --frames 20 --fixed-dt 0.016
  [ "$status" = 0 ] || fail "exit $status"
  grep -q "Ran 20 frames" "$scratch/out" || fail "frame count not logged"
  ini=$TARSEL_DOCUMENTS/Corvath/Tarsel/config.ini
  [ -f "$ini" ] || fail "no config.ini"
  for line in "[EFFECTS]" "LIGHTING=1" "SSAO=0" "[QUALITY]" "GRAPHICS=ULTRA" "[SOUND]" "MUTE_ALL=0" \
              "[ZOR_CONFIG]" "ANISOTROPY=16" "FULLSCREEN=1" "COMPATIBILITY=DIRECTX10.1" "VSYNC=1"; do
    grep -qxF "$line" "$ini" || fail "config.ini lacks $line"
  done
  # The device writes back the resolution it chose in place of 0 x 0.
  grep -qE '^WIDTH=[1-9][0-9]*$' "$ini" || fail "WIDTH not written back"
  grep -qE '^HEIGHT=[1-9][0-9]*$' "$ini" || fail "HEIGHT not written back"
  ;;
alt-f4)
  printf '# Alt, then F4 in the same frame\n5 18 down\n5 115 down\n' >"$scratch/keys.txt"
  run "$content" --frames 600 --fixed-dt 0.016 --input "$scratch/keys.txt"
  [ "$status" = 0 ] || fail "exit $status"
  grep -q "Ran 5 frames" "$scratch/out" || fail "did not stop after 5 frames"
  ;;
quit-while-loading)
  run "$content" --frames 1 --fixed-dt 0.016
  [ "$status" = 0 ] || fail "exit $status"
  grep -q "Ran 1 frames" "$scratch/out" || fail "frame count not logged"
  ;;
no-shaders)
  mkdir -p "$scratch/empty"
  run "$scratch/empty" --frames 5
  [ "$status" = 1 ] || fail "exit $status, expected 1"
  grep -q "Failed to load shaders from shaders/" "$scratch/out" || fail "no clear line"
  ;;
dummy-video)
  export SDL_VIDEODRIVER=dummy
  run "$content" --frames 5
  [ "$status" = 1 ] || fail "exit $status, expected 1"
  grep -q "^Failed to " "$scratch/out" || fail "no clear line"
  ;;
documents-file)
  rm -rf "$TARSEL_DOCUMENTS"; echo x >"$TARSEL_DOCUMENTS"
  run "$content" --frames 3 --fixed-dt 0.016
  [ "$status" = 0 ] || fail "exit $status"
  grep -q "^Warning: " "$scratch/out" || fail "no warning"
  ;;
bad-arguments)
  run "$content" --frames zero
  [ "$status" = 2 ] || fail "exit $status for a bad option, expected 2"
  grep -q "usage: tarsel" "$scratch/out" || fail "no usage"
  printf '1 65 down\n2 65 sideways\n' >"$scratch/keys.txt"
  run "$content" --input "$scratch/keys.txt"
  [ "$status" = 2 ] || fail "exit $status for a bad input line, expected 2"
  grep -q "2" "$scratch/out" || fail "the bad line is not named"
  ;;
*)
  fail "unknown case $case"
  ;;
esac
echo "ok: $case"
