# Sourced first by the runs that mount drives of their own: the script runs again in a private
# mount namespace (root), or fails, saying so, where none can be made.
# Usage: source PrivateMounts.sh "$0" "$@"
set -euo pipefail
if [[ -z "${ZELTRIN_PRIVATE_MOUNTS:-}" ]]; then
  unshare --mount --propagation private true 2>/dev/null ||
    { echo "FAIL: no private mount namespace can be made here (unshare --mount needs root)" >&2; exit 1; }
  ZELTRIN_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private bash "$@"
fi
