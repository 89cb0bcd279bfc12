#!/usr/bin/env bash
# Sourced by the scripts: the project's facts, each read from its one home.
# version is CMakeLists.txt's; release_date, NEWS.md's newest entry's;
# whole_output matches a whole run's, twenty items of a digit and a space.
# linux_targets lists the machines of linux-targets by Debian's names, and
# one array a column, keyed by that name, holds the rest: target_triple,
# target_qemu, target_uname, target_tarball, target_deb, target_link and
# target_kind. A row that is not whole stops the script.
# shellcheck disable=SC2034 # the values are for the scripts that source it
project_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
version=$(sed -n 's/^project(stagger VERSION \([0-9.]*\).*/\1/p' "$project_root/CMakeLists.txt")
release_date=$(sed -n 's/^## [^ ]* (\([0-9-]*\).*/\1/p' "$project_root/NEWS.md" | head -n 1)
whole_output='^([0-9] ){20}$'
linux_targets=()
declare -A target_triple target_qemu target_uname target_tarball target_deb \
	target_link target_kind
while read -r arch triple qemu uname tarball deb link kind; do
	[[ -z $arch || $arch == '#'* ]] && continue
	if [[ -z $kind || ! $deb =~ ^(yes|no)$ || ! $link =~ ^static(-pie)?$ ]]; then
		echo "linux-targets: the row of '$arch' is not whole" >&2
		exit 1
	fi
	linux_targets+=("$arch")
	target_triple[$arch]=$triple target_qemu[$arch]=$qemu
	target_uname[$arch]=$uname target_tarball[$arch]=$tarball
	target_deb[$arch]=$deb target_link[$arch]=$link target_kind[$arch]=$kind
done <"$project_root/linux-targets"
((${#linux_targets[@]})) || { echo "linux-targets: no machines" >&2; exit 1; }
