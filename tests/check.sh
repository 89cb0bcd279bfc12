#!/usr/bin/env bash
# check.sh CASE STAGGER FAILCREATE: runs the program as a user would, in the
# way CASE names, and checks its output byte for byte, the time each item
# arrives, its standard error and its exit status. Times are milliseconds
# from just before the program starts.
set -u
export LC_ALL=C
name=$1 stagger=$2 failcreate=$3
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "$name: $*" >&2; failed=1; }
elapsed() { local now=${EPOCHREALTIME//[!0-9]/}; printf -v "$1" %d $(((now - start) / 1000)); }

# run STDOUT COMMAND...: runs and times COMMAND with its standard output going
# to STDOUT: "items", a pipe whose reader notes when each item arrives;
# "head", a reader that takes two items and goes; "closed"; or a file.
run() {
	local to=$1
	shift
	start=${EPOCHREALTIME//[!0-9]/}
	case $to in
	items) "$@" 2>"$tmp/err" | items; status=${PIPESTATUS[0]} ;;
	head) "$@" 2>"$tmp/err" | head -c 4 >/dev/null; status=${PIPESTATUS[0]} ;;
	closed) "$@" 2>"$tmp/err" >&-; status=$? ;;
	*) "$@" 2>"$tmp/err" >"$to"; status=$? ;;
	esac
	elapsed end
}
items() {
	local item t
	while IFS= read -r -N 2 item || [[ $item ]]; do
		elapsed t
		printf '%s' "$item" >>"$tmp/out"
		printf '%d %s\n' "$t" "${item:0:1}" >>"$tmp/items"
	done
}

# Checks the run: it ended with STATUS after about END seconds, wrote ERROR
# on standard error, and its output was the ascending count 0 to 9 of one
# worker started at each of STARTS seconds, interleaved, every item on time.
# Sleeps cannot end early but a busy machine can run late, so every time may
# be 50 ms early and up to a second late.
expect() {
	local want_status=$1 want_error=$2 starts=($3) want_end=$4
	local out='' error='' next=(0 0) t v w
	[[ -e $tmp/out ]] && IFS= read -r -d '' out <"$tmp/out"
	[[ -e $tmp/err ]] && IFS= read -r -d '' error <"$tmp/err"

	[[ $status == "$want_status" ]] || fail "exit status $status, not $want_status"
	[[ $error == "$want_error${want_error:+$'\n'}" ]] ||
		fail "standard error '$error', not '$want_error'"
	on_time "$end" $((want_end * 1000)) "the run's end"
	[[ $out =~ ^([0-9]\ )*$ && ${#out} == $((20 * ${#starts[@]})) ]] ||
		{ fail "output '$out' is not ${#starts[@]} counts of two-byte items"; return; }
	while read -r t v; do
		for w in "${!starts[@]}"; do ((next[w] == v)) && break; done
		((next[w] == v)) || { fail "$v at $t ms breaks the ascending counts"; return; }
		on_time "$t" $(((starts[w] + v) * 1000)) "worker $((w + 1))'s $v"
		next[w]=$((v + 1))
	done <"$tmp/items"
}
on_time() {
	(($1 >= $2 - 50 && $1 < $2 + 1000)) || fail "$3 at $1 ms, not about $2 ms"
}

# inject N: runs the program with its Nth pthread_create failing. A program
# that carries its own pthread_create, as one linked with a sanitizer's
# runtime may, reaches that before the preloaded one, which then cannot tell
# the program's calls from the runtime's: there the case is skipped. A shared
# AddressSanitizer runtime asks to be loaded first; it works all the same.
inject() {
	if nm -D --defined-only "$stagger" | grep -qw pthread_create; then
		echo "$name: skipped: the program defines its own pthread_create," \
			"so a preloaded one cannot make it fail" >&2
		exit 77
	fi
	run items env LD_PRELOAD="$failcreate" FAIL_PTHREAD_CREATE="$1" \
		ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
		"$stagger"
}

created="stagger: cannot create thread: Resource temporarily unavailable"
case $name in
counts_interleave_live_and_on_time)
	run items "$stagger" && expect 0 '' '0 3' 13 ;;
arguments_change_nothing)
	run items "$stagger" --help -v '' 'two words' - && expect 0 '' '0 3' 13 ;;
first_worker_failure_reported)
	inject 1 && expect 1 "$created" 3 13 ;;
second_worker_failure_reported)
	inject 2 && expect 1 "$created" 0 10 ;;
full_device_reported)
	run /dev/full "$stagger" &&
		expect 1 "stagger: write error: No space left on device" '' 13 ;;
closed_output_reported)
	run closed "$stagger" &&
		expect 1 "stagger: write error: Bad file descriptor" '' 13 ;;
reader_leaving_ends_run)
	# The program's next write after the reader has gone, at 2 s, meets a
	# broken pipe, whose default action ends the program: status 128 + 13.
	run head env --default-signal=PIPE "$stagger" && expect 141 '' '' 2 ;;
*) fail "no such case" ;;
esac
exit $failed
