#!/usr/bin/env bash
# check.sh CASE STAGGER FAILCREATE: runs the program as a user would, in the
# way CASE names, and checks what came of it: the bytes its reader received
# and when each item arrived, standard error, the exit status, and when the
# run ended. Times are milliseconds from just before the program starts.
set -u
export LC_ALL=C
case_name=$1 stagger=$2 failcreate=$3
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
# A run leaves in $tmp the bytes that its reader received (out), when each
# item arrived ("MS DIGIT" lines, arrivals) and its standard error (err).

now() { printf -v "$1" %d "${EPOCHREALTIME//[!0-9]/}"; } # microseconds

# take COUNT START: the reader at the other end of the program's pipe. It
# takes COUNT two-byte items, or all of them, noting when each arrives, in
# ms from START, then leaves.
take() {
	local count=$1 start=$2 item t
	while [[ $count == all ]] || ((count-- > 0)); do
		IFS= read -r -N 2 item || [[ $item ]] || break
		now t
		printf %s "$item" >>"$tmp/out"
		printf '%d %s\n' $(((t - start) / 1000)) "${item:0:1}" >>"$tmp/arrivals"
	done
}

# run TO COMMAND...: runs COMMAND with its standard output going to the
# reader `take TO` or, if TO is a path, to that file; prints the exit status
# and when the run ended.
run() {
	local to=$1 start end status
	shift
	: >"$tmp/out" && : >"$tmp/arrivals"
	now start
	if [[ $to == /* ]]; then
		"$@" 2>"$tmp/err" >"$to"
		status=$?
	else
		"$@" 2>"$tmp/err" | take "$to" "$start"
		status=${PIPESTATUS[0]}
	fi
	now end
	echo "$status $(((end - start) / 1000))"
}

# expect STATUS ERROR END [START:COUNT]...: reads what run printed, and
# checks that the run exited with STATUS after END seconds, wrote ERROR on
# standard error, and that its reader received, interleaved, the first COUNT
# items of the count of a worker started at each START second, each on time.
expect() {
	local want_status=$1 want_error=$2 want_end=$3 status end
	local out error starts=() counts=() next=() total=0 failed=0 t v w
	shift 3
	read -r status end
	IFS= read -r -d '' out <"$tmp/out"
	IFS= read -r -d '' error <"$tmp/err"
	for w in "$@"; do
		starts+=("${w%:*}") counts+=("${w#*:}") next+=(0)
		total=$((total + ${w#*:}))
	done

	[[ $status == "$want_status" ]] || fail "exit status $status, not $want_status"
	[[ $error == "$want_error${want_error:+$'\n'}" ]] ||
		fail "standard error '$error', not '$want_error'"
	on_time "$end" "$want_end" || fail "ended at $end ms, not at $want_end s"
	[[ $out =~ ^([0-9]\ )*$ && ${#out} == $((2 * total)) ]] ||
		{ fail "output '$out' is not $total two-byte items"; return 1; }
	while read -r t v; do
		for w in "${!starts[@]}"; do
			((next[w] == v && v < counts[w])) && break
		done
		((next[w] == v && v < counts[w])) ||
			{ fail "$v at $t ms breaks the ascending counts"; return 1; }
		on_time "$t" $((starts[w] + v)) || {
			fail "the count started at ${starts[w]} s wrote $v at $t ms," \
				"not at $((starts[w] + v)) s"
			return 1
		}
		next[w]=$((v + 1))
	done <"$tmp/arrivals"
	return $failed
}

# fail MESSAGE: says what is wrong, and marks expect's run failed.
fail() { echo "$case_name: $*" >&2; failed=1; }

# on_time MS SECONDS: whether MS is on time for something due at SECONDS.
# Sleeps never end early, so only the clock's slack may make a time early.
# A busy machine makes it late: by a few ms when idle, by up to 80 ms over a
# run with eight busy processes on two cores, and an emulator's start-up
# adds tens of ms more. 200 ms late passes all that and still fails any
# schedule 250 ms off: a first item that late, a slow period, a wrong
# stagger, a worker that leaves without its last sleep.
on_time() {
	(($1 >= $2 * 1000 - 50 && $1 < $2 * 1000 + 200))
}

with_default_sigpipe() { env --default-signal=PIPE "$@"; }
ignoring_sigpipe() { trap '' PIPE && "$@"; }

# failing_creates CALLS COMMAND...: runs COMMAND with the pthread_create
# calls that CALLS lists (1,2: the first and the second) failing with
# EAGAIN, as on a system out of threads.
failing_creates() {
	env LD_PRELOAD="$failcreate" FAIL_PTHREAD_CREATE="$1" \
		ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
		"${@:2}"
}
# A program that carries its own pthread_create, as one linked with a
# sanitizer's static runtime may, reaches that before the preloaded one,
# which then cannot tell the program's calls from the runtime's: there the
# cases that need it are skipped. A shared AddressSanitizer runtime asks to
# be loaded first; it works all the same.
needs_failing_creates() {
	if nm -D --defined-only "$stagger" | grep -qw pthread_create; then
		echo "$case_name: skipped: the program defines its own" \
			"pthread_create, so a preloaded one cannot make it fail" >&2
		exit 77
	fi
}

created="stagger: cannot create thread: Resource temporarily unavailable"
case $case_name in
counts_interleave_on_schedule)
	run all "$stagger" | expect 0 '' 13 0:10 3:10 ;;
arguments_change_nothing)
	run all "$stagger" --help -v '' 'two words' - |
		expect 0 '' 13 0:10 3:10 ;;
# The reader takes the items up to 3 s, from both workers, and leaves. The
# next writes, at 4 s, meet a broken pipe, whose default action ends the
# program (status 128 + 13); ignored, it is a write error like any other.
reader_leaving_ends_run_at_next_write)
	run 5 with_default_sigpipe "$stagger" | expect 141 '' 4 0:4 3:1 ;;
reader_leaving_reported_when_sigpipe_ignored)
	run 5 ignoring_sigpipe "$stagger" |
		expect 1 "stagger: write error: Broken pipe" 13 0:4 3:1 ;;
full_device_reported)
	run /dev/full "$stagger" |
		expect 1 "stagger: write error: No space left on device" 13 ;;
first_worker_failure_reported)
	needs_failing_creates
	run all failing_creates 1 "$stagger" | expect 1 "$created" 13 3:10 ;;
second_worker_failure_reported)
	needs_failing_creates
	run all failing_creates 2 "$stagger" | expect 1 "$created" 10 0:10 ;;
both_worker_failures_reported)
	needs_failing_creates
	run all failing_creates 1,2 "$stagger" |
		expect 1 "$created"$'\n'"$created" 3 ;;
*)
	echo "$case_name: no such case" >&2
	exit 2
	;;
esac
