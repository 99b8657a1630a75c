# Shared by scripts/run, scripts/test and scripts/screenshot: sourced, not run.

# The repository root, whatever directory the caller was started from.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export DEBIAN_FRONTEND=noninteractive

# install_missing CALLER PACKAGE...: installs those of the Debian packages that
# are not installed yet; without root it names them and exits.
install_missing() {
  local caller=$1 missing=() p
  shift
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if ((${#missing[@]} == 0)); then
    return 0
  fi
  if ((EUID != 0)); then
    echo "$caller: missing packages ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  echo "installing: ${missing[*]}"
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
}
