#!/usr/bin/env bash
# check.sh CASE SLOT STAGGER FAILCREATE [EMULATOR...]: runs the program
# (through EMULATOR, if one is given) as a user would, in the way CASE
# names, and checks what came of it: the bytes its reader received and when
# each item arrived, standard error, the exit status, and when the run
# ended. Times are milliseconds from just before the program starts.
set -u
export LC_ALL=C
case_name=$1 slot=$2 stagger=$3 failcreate=$4 emulator=("${@:5}")
program=("${emulator[@]}" "$stagger")
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
# A run leaves in $tmp the bytes that its reader received (out), when each
# item arrived ("MS DIGIT" lines, arrivals) and its standard error (err).

# skip REASON: this system cannot run the case as written.
skip() {
	echo "$case_name: skipped: $*" >&2
	exit 77
}
[[ ${EPOCHREALTIME-} ]] ||
	skip "this bash ($BASH_VERSION) has no EPOCHREALTIME to time items by"

# The cases run side by side. Each in its SLOT, 60 ms after the one before,
# their programs start one at a time and so start on time, even where that
# takes an emulator tens of ms of both cores.
sleep "$(printf '0.%03d' $((slot * 60)))"

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
# reader `take TO`, or, if TO is "unwritable", open for reading only, which
# fails every write on any system; prints the exit status and when the run
# ended.
run() {
	local to=$1 start end status
	shift
	: >"$tmp/out" && : >"$tmp/arrivals"
	now start
	if [[ $to == unwritable ]]; then
		"$@" 2>"$tmp/err" 1</dev/null
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
	local out error starts=() counts=() next=() total=0 failed=0
	local t v w due start_up=
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
	[[ $out =~ ^([0-9]\ )*$ && ${#out} == $((2 * total)) ]] ||
		{ fail "output '$out' is not $total two-byte items"; return 1; }
	while read -r t v; do
		for w in "${!starts[@]}"; do
			((next[w] == v && v < counts[w])) && break
		done
		((next[w] == v && v < counts[w])) ||
			{ fail "$v at $t ms breaks the ascending counts"; return 1; }
		next[w]=$((v + 1))
		due=$(((starts[w] + v) * 1000))
		if [[ -z $start_up ]]; then
			start_up=$((t - due))
			((start_up >= -50 && start_up < 250)) || {
				fail "the first item came at $t ms, not within 250 ms of $due ms"
				return 1
			}
		fi
		on_time $((t - start_up)) "$due" || {
			fail "the count started at ${starts[w]} s wrote $v at $t ms," \
				"not at $due ms (+$start_up ms to start)"
			return 1
		}
	done <"$tmp/arrivals"
	on_time $((end - ${start_up:-0})) $((want_end * 1000)) ||
		fail "the run ended at $end ms, not at $want_end s (+${start_up:-0} ms to start)"
	return $failed
}

# fail MESSAGE: says what is wrong, and marks expect's run failed.
fail() { echo "$case_name: $*" >&2; failed=1; }

# on_time MS DUE: whether what came at MS was on time for DUE, both in ms
# after the program started, which the run's first item tells: that item
# may take up to 250 ms, for an emulator's start-up or a busy machine's.
# Sleeps never end early: a time seems early only by as much as the reader
# was late to see the first item, well within 100 ms. A busy machine makes
# it late: by a few ms idle, by up to 50 ms with eight busy processes on two
# cores. 200 ms late passes that with room to spare and still fails any
# schedule 250 ms off: a slow period, a wrong stagger, a worker that leaves
# without its last sleep.
on_time() {
	(($1 >= $2 - 100 && $1 < $2 + 200))
}

# The program runs with the signal dispositions that it inherits. Ignoring
# SIGPIPE is for a shell to do; restoring it, once the tests' own parent
# ignored it, takes GNU env, and without one those cases cannot run.
ignoring_sigpipe() { trap '' PIPE && "$@"; }
default_sigpipe() {
	if [[ $(trap -p PIPE) ]]; then
		env --default-signal=PIPE true 2>/dev/null ||
			skip "SIGPIPE is ignored here, and no env can restore it"
		echo env --default-signal=PIPE
	fi
}

# failing_creates CALLS COMMAND...: runs COMMAND with the pthread_create
# calls that CALLS lists ("1 2": the first and the second) failing with
# EAGAIN, as on a system out of threads, and noted in $tmp/failed-creates.
# An emulator takes the guest's environment from QEMU_SET_ENV; a shared
# AddressSanitizer runtime, which asks to be loaded first, works all the same.
failing_creates() {
	local calls=$1 log=$tmp/failed-creates
	shift
	if ((${#emulator[@]})); then
		QEMU_SET_ENV="LD_PRELOAD=$failcreate,FAIL_PTHREAD_CREATE=$calls,FAILED_PTHREAD_CREATE_LOG=$log" \
			"$@"
	else
		LD_PRELOAD=$failcreate FAIL_PTHREAD_CREATE=$calls \
			FAILED_PTHREAD_CREATE_LOG=$log \
			ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
			"$@"
	fi
}
# creates_failed CALLS: whether the run's pthread_create calls failed as
# CALLS lists. A loader may ignore LD_PRELOAD, as macOS's does, and a
# program may carry its own pthread_create, as one linked with a static
# sanitizer runtime does, in front of which the preloaded one fails none.
creates_failed() {
	[[ $failcreate ]] ||
		skip "this system's dlfcn.h has no RTLD_NEXT or dladdr to preload by"
	[[ -e $tmp/failed-creates && $(<"$tmp/failed-creates") == "${1// /$'\n'}" ]] ||
		skip "the preloaded pthread_create did not fail calls $1"
}

created="stagger: cannot create thread: Resource temporarily unavailable"
case $case_name in
counts_interleave_on_schedule)
	run all "${program[@]}" | expect 0 '' 13 0:10 3:10 ;;
arguments_change_nothing)
	run all "${program[@]}" --help -v '' 'two words' - |
		expect 0 '' 13 0:10 3:10 ;;
# The reader takes the items up to 3 s, from both workers, and leaves. The
# next writes, at 4 s, meet a broken pipe, whose default action ends the
# program (status 128 + 13); ignored, it is a write error like any other.
reader_leaving_ends_run_at_next_write)
	sigpipe_default=$(default_sigpipe) || exit
	run 5 $sigpipe_default "${program[@]}" | expect 141 '' 4 0:4 3:1 ;;
reader_leaving_reported_when_sigpipe_ignored)
	run 5 ignoring_sigpipe "${program[@]}" |
		expect 1 "stagger: write error: Broken pipe" 13 0:4 3:1 ;;
unwritable_output_reported)
	run unwritable "${program[@]}" |
		expect 1 "stagger: write error: Bad file descriptor" 13 ;;
first_worker_failure_reported)
	run all failing_creates 1 "${program[@]}" >"$tmp/run"
	creates_failed 1 && expect 1 "$created" 13 3:10 <"$tmp/run" ;;
second_worker_failure_reported)
	run all failing_creates 2 "${program[@]}" >"$tmp/run"
	creates_failed 2 && expect 1 "$created" 10 0:10 <"$tmp/run" ;;
both_worker_failures_reported)
	run all failing_creates "1 2" "${program[@]}" >"$tmp/run"
	creates_failed "1 2" &&
		expect 1 "$created"$'\n'"$created" 3 <"$tmp/run" ;;
*)
	echo "$case_name: no such case" >&2
	exit 2
	;;
esac
