#!/usr/bin/env bash
# Installs those of the Debian packages given as arguments that are missing (apt-get, as root or
# through sudo), so that it is quick on a machine that has everything. With --polish-locale
# first, also makes sure the pl_PL.UTF-8 locale exists.
set -euo pipefail

sudo_if_needed() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

polish_locale=false
if [ "${1:-}" = "--polish-locale" ]; then
    polish_locale=true
    shift
fi

missing=()
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_if_needed apt-get update -q
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if $polish_locale && ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
    sudo_if_needed sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
    sudo_if_needed locale-gen >/dev/null
fi
