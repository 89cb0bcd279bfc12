#!/usr/bin/env bash
# Sourced by the scripts that build, test or check the Linux targets:
# reads the table linux-targets into linux_targets, Debian's names for the
# machines in the table's order, and one associative array a column, each
# keyed by that name: target_preset, target_triple, target_qemu,
# target_uname, target_tarball, target_deb, target_link and target_kind.
# A row that is not whole stops the script that sources it.
# shellcheck disable=SC2034 # the arrays are for the scripts that source it
linux_targets=()
declare -A target_preset target_triple target_qemu target_uname \
	target_tarball target_deb target_link target_kind
linux_targets_table=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/linux-targets
while read -r arch preset triple qemu uname tarball deb link kind; do
	[[ -z $arch || $arch == '#'* ]] && continue
	if [[ -z $kind || ! $deb =~ ^(yes|no)$ || ! $link =~ ^static(-pie)?$ ]]; then
		echo "$linux_targets_table: the row of '$arch' is not whole" >&2
		exit 1
	fi
	linux_targets+=("$arch")
	target_preset[$arch]=$preset target_triple[$arch]=$triple
	target_qemu[$arch]=$qemu target_uname[$arch]=$uname
	target_tarball[$arch]=$tarball target_deb[$arch]=$deb
	target_link[$arch]=$link target_kind[$arch]=$kind
done <"$linux_targets_table"
((${#linux_targets[@]})) || { echo "$linux_targets_table: no targets" >&2; exit 1; }

# static_linkage ARCH: how file(1) says that a static program for ARCH is
# linked, as the table's link column has it.
static_linkage() {
	if [[ ${target_link[$1]} == static-pie ]]; then
		echo "static-pie linked"
	else
		echo "statically linked"
	fi
}

# program_kind PROGRAM: what file(1) says of an ELF program, and then its
# ELF header's flags, which alone tell soft from hard float on ARM: the
# text that target_kind describes.
program_kind() {
	printf '%s %s' "$(file -b "$1")" "$(readelf -h "$1" | sed -n 's/^ *Flags: *//p')"
}
