#!/usr/bin/env bash
# check.sh CASE SLOT STARTUP SYSTEM STAGGER FAILCREATE [EMULATOR...]: runs
# the program (through EMULATOR, where this kernel cannot run it) as a
# user would, in the way CASE names, and checks the bytes its reader got
# and when each item came, standard error and when each line came, the
# exit status, and when the run ended. STARTUP is a program built as the
# program is that writes one byte from a thread and exits, or "none";
# SYSTEM is "windows" or "posix"; FAILCREATE is how to fail a thread
# creation (failing_creates). Times are ms from just before the program
# starts. A case whose only fault is a time bound runs once more, saying
# so: a busy machine may delay one run, a program off its schedule is late
# both times.
set -u
export LC_ALL=C
case_name=$1 slot=$2 startup=$3 system=$4 stagger=$5 failcreate=$6 emulator=("${@:7}")

# A program for another machine runs through its emulator, even where this
# kernel could run it, as a 64-bit x86 one may a 32-bit x86 program: the
# same way on every host.
program=("${emulator[@]}" "$stagger")

# Start-up and tear-down that are not the program's own, an emulator's, a
# sanitizer runtime's, strace's, Windows' own, are measured before each run
# as the time that STARTUP takes through the same emulator and wrappers,
# and allowed on top of the bounds (on_time). Without STARTUP, Windows
# itself is allowed 550 ms.
startup_allowance=0
[[ $startup == none && $OSTYPE == @(cygwin|msys) ]] && startup_allowance=550

# A run leaves in $tmp the bytes that its reader got (out), when each item
# came ("MS DIGIT", arrivals), its standard error (err) and when each line
# of it came ("MS", err-times).
tmp=$(mktemp -d) && trap 'end_turn; rm -rf "$tmp"' EXIT

# skip REASON: this system cannot run the case as written.
skip() {
	echo "$case_name: skipped: $*" >&2
	exit 77
}

# The cases start SLOT times 60 ms apart, the order of their turns.
printf -v delay '%d.%03d' $((slot * 60 / 1000)) $((slot * 60 % 1000))
sleep "$delay"

now() { printf -v "$1" %d "${EPOCHREALTIME//[!0-9]/}"; } # microseconds

# Programs start one at a time across every suite on the machine: a case
# takes its turn, times STARTUP, starts its program, and ends its turn at
# the program's first act. Programs starting together under an emulator
# would take each other's time, more than any start-up timed could tell.
turn=${TMPDIR:-/tmp}/stagger-tests-turn
take_turn() {
	local owner tries=0 never
	# Waits on a pipe that nothing writes, with no process for each look,
	# which would load the machine more than the starts that it keeps apart.
	[[ -p $tmp/never ]] || mkfifo "$tmp/never"
	exec {never}<>"$tmp/never"
	while [[ -e $turn ]] || ! mkdir "$turn" 2>/dev/null; do
		# A turn whose case has gone, or held past all reason, is over.
		owner=
		read -r owner 2>/dev/null <"$turn/owner"
		if { [[ $owner ]] && ! kill -0 "$owner" 2>/dev/null; } || ((++tries > 1500)); then
			rm -rf "$turn"
		fi
		read -r -t 0.02 -u "$never" _ || :
	done
	exec {never}>&-
	echo "$$" >"$turn/owner"
}
end_turn() {
	local owner=
	read -r owner 2>/dev/null <"$turn/owner"
	if [[ $owner == "$$" ]]; then
		rm -rf "$turn"
	fi
}

# take COUNT START: the program's reader. It takes COUNT two-byte items, or
# all, noting when each arrives, in ms from START, then leaves.
take() {
	local count=$1 start=$2 item t
	while [[ $count == all ]] || ((count-- > 0)); do
		IFS= read -r -N 2 item || [[ $item ]] || break
		now t
		[[ -s $tmp/out ]] || end_turn
		printf %s "$item" >>"$tmp/out"
		printf '%d %s\n' $(((t - start) / 1000)) "${item:0:1}" >>"$tmp/arrivals"
	done
}

# note_errors START: takes standard error, noting when each line came.
note_errors() {
	local line t
	while IFS= read -r line; do
		now t
		[[ -s $tmp/err ]] || end_turn
		printf '%s\n' "$line" >>"$tmp/err"
		echo $(((t - $1) / 1000)) >>"$tmp/err-times"
	done
	printf %s "$line" >>"$tmp/err"
}

# run TO COMMAND...: runs COMMAND, its standard output to the reader
# `take TO` or, if TO is "unwritable", to a file open for reading only,
# which fails every write on any system, and its standard error to
# note_errors. Prints the exit status, when the run ended, and when
# STARTUP, run just before in the program's place, wrote its byte and
# ended.
run() {
	local to=$1 start end status allowance="$startup_allowance $startup_allowance"
	local word probe=() cap first whole slowest_first slowest_whole
	shift
	take_turn
	# STARTUP runs with a scratch folder of its own for the wrappers.
	if [[ $startup != none ]]; then
		for word; do
			[[ $word == "$stagger" ]] && word=$startup
			probe+=("$word")
		done
		mkdir -p "$tmp/startup"
		slowest_first=0 slowest_whole=0
		# The slowest of three: a busy machine delays one start more than
		# another, and the program's as much as the slowest one's.
		for _ in 1 2 3; do
			now start
			tmp=$tmp/startup "${probe[@]}" </dev/null 2>/dev/null | {
				IFS= read -r -N 1 _
				now end
				echo $(((end - start) / 1000)) >"$tmp/startup/first"
				cat >/dev/null
			}
			now end
			first=$(<"$tmp/startup/first") whole=$(((end - start) / 1000))
			((first > slowest_first)) && slowest_first=$first
			((whole > slowest_whole)) && slowest_whole=$whole
		done
		allowance="$slowest_first $slowest_whole"
	fi
	: >"$tmp/out" && : >"$tmp/arrivals" && : >"$tmp/err" && : >"$tmp/err-times"
	# A first act out of sight, a write that fails, ends the turn later.
	cap=$((${allowance#* } + 250))
	printf -v cap '%d.%03d' $((cap / 1000)) $((cap % 1000))
	{ sleep "$cap" && end_turn; } </dev/null >/dev/null 2>&1 &
	now start
	if [[ $to == unwritable ]]; then
		noting_errors "$start" "$@" 3<"$tmp/out"
		status=$?
	else
		noting_errors "$start" "$@" 3>&1 | take "$to" "$start"
		status=${PIPESTATUS[0]}
	fi
	now end
	end_turn
	echo "$status $(((end - start) / 1000)) $allowance"
}
# noting_errors START COMMAND...: runs COMMAND, its standard output on
# descriptor 3, its standard error to note_errors; returns its status.
noting_errors() {
	local start=$1
	shift
	"$@" 2>&1 >&3 3>&- | note_errors "$start"
	return "${PIPESTATUS[0]}"
}

# expect STATUS ERROR END [START:COUNT]...: reads what run printed, and
# checks that the run exited with STATUS after END seconds, wrote ERROR on
# standard error, and that its reader got, interleaved, the first COUNT
# items of a worker started at each START second, each on time. A COUNT of
# 0 is a worker not created: its line of ERROR is due at its START.
expect() {
	local want_status=$1 want_error=$2 want_end=$3 status end start_allowance end_allowance
	local out error starts=() counts=() next=() total=0 failed=0
	local uncreated=() t v w what due start_up='' late=0
	shift 3
	read -r status end start_allowance end_allowance
	IFS= read -r -d '' out <"$tmp/out"
	IFS= read -r -d '' error <"$tmp/err"
	for w in "$@"; do
		starts+=("${w%:*}") counts+=("${w#*:}") next+=(0)
		total=$((total + ${w#*:}))
		((${w#*:} == 0)) && uncreated+=("${w%:*}")
	done

	[[ $status == "$want_status" ]] || fail "exit status $status, not $want_status"
	# A Windows program's C runtime ends each line of text with CR LF.
	local eol=$'\n'
	[[ $system == windows ]] && eol=$'\r\n'
	want_error=${want_error//$'\n'/$eol}
	[[ $error == "$want_error${want_error:+$eol}" ]] ||
		fail "standard error '$error', not '$want_error'"
	[[ $out =~ ^([0-9]\ )*$ && ${#out} == $((2 * total)) ]] ||
		{ fail "output '$out' is not $total two-byte items"; return 1; }
	# The items, and as "-" the lines for workers not created, as they came.
	while read -r t v; do
		if [[ $v == - ]]; then
			what="the worker due at ${uncreated[0]} s failed"
			due=$((uncreated[0] * 1000)) uncreated=("${uncreated[@]:1}")
		else
			for w in "${!starts[@]}"; do
				((next[w] == v && v < counts[w])) && break
			done
			((next[w] == v && v < counts[w])) ||
				{ fail "$v at $t ms breaks the ascending counts"; return 1; }
			next[w]=$((v + 1))
			what="the count started at ${starts[w]} s wrote $v"
			due=$(((starts[w] + v) * 1000))
		fi
		if [[ -z $start_up ]]; then
			start_up=$((t - due))
			echo "$case_name: first act at $t ms, due at $due ms; STARTUP's byte at $start_allowance ms"
			((start_up >= -50 && start_up < 250 + start_allowance)) || {
				late "the run's first act came at $t ms, not within" \
					"$((250 + start_allowance)) ms of $due ms ($start_allowance ms to start one byte)"
				break
			}
		fi
		on_time $((t - start_up)) "$due" || {
			late "$what at $t ms, not at $due ms (+$start_up ms to start)"
			break
		}
	done < <(sort -n -k1,1 "$tmp/arrivals" <(head -n ${#uncreated[@]} \
		"$tmp/err-times" | sed 's/$/ -/'))
	# The end may also wait for the runtime's checks at exit, and, where no
	# act of the program's timed its start, for its start-up.
	echo "$case_name: ended at $end ms, due at $((want_end * 1000 + ${start_up:-0})) ms;" \
		"STARTUP's end at $end_allowance ms"
	on_time $((end - ${start_up:-0})) $((want_end * 1000)) "$end_allowance" ||
		late "the run ended at $end ms, not at $want_end s (+${start_up:-0} ms to start)"
	((failed)) && return 1
	((late)) && return 2
	return 0
}

# fail MESSAGE: says what is wrong, and marks expect's run failed; late
# MESSAGE, that it missed a time bound alone.
fail() { echo "$case_name: $*" >&2; failed=1; }
late() { echo "$case_name: $*" >&2; late=1; }

# on_time MS DUE [ALLOWANCE]: whether what came at MS was on time for DUE,
# both in ms after the program started, as its first act tells. Sleeps
# never end early: a time seems early only as much as the reader was late
# to see the first act, well within 100 ms. A busy machine makes it late:
# by up to 50 ms with six busy processes on two cores, 70 ms emulated. 200
# ms passes that and still fails any schedule 250 ms off: a slow period, a
# stall, a wrong stagger, a worker that leaves without its last sleep.
# ALLOWANCE, for the end of a run, is what is not the program's own.
on_time() {
	(($1 >= $2 - 100 && $1 < $2 + 200 + ${3:-0}))
}

# The program inherits its signal dispositions. Restoring SIGPIPE, once the
# tests' own parent ignored it, takes GNU env.
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
# EAGAIN, as on a system out of threads, noted in $tmp/failed-creates.
# FAILCREATE is the library to preload or, for a static program, strace,
# which fails the system call beneath each call, for consecutive CALLS:
# one clone3 in glibc, one clone in musl, and under an emulator one clone3
# of the host's, after the emulator's own, as many as it makes to say its
# version. An emulator takes the guest's environment from QEMU_SET_ENV.
failing_creates() {
	local calls=$1 log=$tmp/failed-creates own=0
	shift
	rm -f "$log"
	if [[ ${failcreate##*/} == strace ]]; then
		if ((${#emulator[@]})); then
			"$failcreate" -f -qq -o "$tmp/own" -e trace=clone,clone3 \
				"${emulator[0]}" -version >/dev/null 2>&1
			own=$(grep -cE ' clone3?\(' "$tmp/own")
		fi
		"$failcreate" -f -qq -o "$tmp/strace" -e trace=clone,clone3 \
			-e inject=clone,clone3:error=EAGAIN:when=$((${calls%% *} + own))..$((${calls##* } + own)) \
			"$@"
		local status=$?
		awk -v own="$own" '/ clone3?\(/ { n++ } /\(INJECTED\)$/ { print n - own }' \
			"$tmp/strace" >"$log" 2>/dev/null
		return $status
	elif ((${#emulator[@]})); then
		QEMU_SET_ENV="LD_PRELOAD=$failcreate,FAIL_PTHREAD_CREATE=$calls,FAILED_PTHREAD_CREATE_LOG=$log" \
			"$@"
	else
		LD_PRELOAD=$failcreate FAIL_PTHREAD_CREATE=$calls \
			FAILED_PTHREAD_CREATE_LOG=$log \
			ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
			"$@"
	fi
}
# creates_failed CALLS: whether the calls failed as CALLS lists: a run that
# failed none, as in front of a static sanitizer runtime's own
# pthread_create, would test nothing.
creates_failed() {
	[[ -e $tmp/failed-creates && $(<"$tmp/failed-creates") == "${1// /$'\n'}" ]] &&
		return
	echo "$case_name: ${failcreate##*/} failed not pthread_create calls $1 but:" \
		"$(cat "$tmp/failed-creates" 2>/dev/null)" >&2
	return 1
}

created="stagger: cannot create thread: Resource temporarily unavailable"
# A write to a pipe whose reader has gone raises SIGPIPE or, ignored, fails
# with EPIPE; Windows' C runtime fails it with EINVAL.
broken_pipe="stagger: write error: Broken pipe"
[[ $system == windows ]] && broken_pipe="stagger: write error: Invalid argument"
# attempt: runs the case once; returns 0 where it passed, 2 where it
# missed a time bound alone, else 1.
attempt() {
	case $case_name in
	counts_interleave_on_schedule)
		run all "${program[@]}" | expect 0 '' 13 0:10 3:10 ;;
	arguments_change_nothing)
		run all "${program[@]}" --help -v '' 'two words' - |
			expect 0 '' 13 0:10 3:10 ;;
	# The reader takes the items up to 3 s and leaves. The writes at 4 s
	# meet a broken pipe: SIGPIPE ends the program (status 128 + 13);
	# ignored, or on Windows, it is a write error like any other.
	reader_leaving_ends_run_at_next_write)
		if [[ $system == windows ]]; then
			run 5 "${program[@]}" | expect 1 "$broken_pipe" 13 0:4 3:1
			return
		fi
		sigpipe_default=$(default_sigpipe) || exit
		# shellcheck disable=SC2086 # split: no word, or env's two
		run 5 $sigpipe_default "${program[@]}" | expect 141 '' 4 0:4 3:1 ;;
	reader_leaving_reported_when_sigpipe_ignored)
		run 5 ignoring_sigpipe "${program[@]}" |
			expect 1 "$broken_pipe" 13 0:4 3:1 ;;
	# The reader leaves once the first worker is done: only the second fails.
	second_worker_write_error_reported)
		run 18 ignoring_sigpipe "${program[@]}" |
			expect 1 "$broken_pipe" 13 0:10 3:8 ;;
	unwritable_output_reported)
		run unwritable "${program[@]}" |
			expect 1 "stagger: write error: Bad file descriptor" 13 ;;
	first_worker_failure_reported)
		run all failing_creates 1 "${program[@]}" >"$tmp/run"
		creates_failed 1 && expect 1 "$created" 13 0:0 3:10 <"$tmp/run" ;;
	second_worker_failure_reported)
		run all failing_creates 2 "${program[@]}" >"$tmp/run"
		creates_failed 2 && expect 1 "$created" 10 0:10 3:0 <"$tmp/run" ;;
	both_worker_failures_reported)
		run all failing_creates "1 2" "${program[@]}" >"$tmp/run"
		creates_failed "1 2" &&
			expect 1 "$created"$'\n'"$created" 3 0:0 3:0 <"$tmp/run" ;;
	*)
		echo "$case_name: no such case" >&2
		exit 2
		;;
	esac
}
attempt
status=$?
if ((status == 2)); then
	echo "$case_name: late, so run once more"
	attempt
	status=$?
fi
((status == 0)) || exit 1
