/*
 * benchmark-run FILE PROGRAM [ARG...]: runs PROGRAM, and when it has exited
 * writes to FILE its peak resident memory in KB (VmHWM) and the CPU time of
 * all its threads in microseconds; exits with PROGRAM's status. A child's
 * ru_maxrss would take in this process's memory, copied before it became
 * PROGRAM, more than a small program's own.
 */
#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

extern char **environ;

/* The peak that the kernel has seen so far, or -1 once it has gone. */
static long peak_kb(pid_t pid)
{
	char path[64], line[256];
	long kb = -1;
	FILE *status;

	snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
	if ((status = fopen(path, "r")) == NULL)
		return -1;
	while (fgets(line, sizeof line, status) != NULL)
		if (strncmp(line, "VmHWM:", 6) == 0)
			kb = strtol(line + 6, NULL, 10);
	fclose(status);
	return kb;
}

int main(int argc, char **argv)
{
	const struct timespec tick = {0, 20 * 1000 * 1000};
	struct rusage usage;
	long kb, peak = -1;
	pid_t pid;
	int status;
	FILE *out;

	if (argc < 3) {
		fputs("usage: benchmark-run FILE PROGRAM [ARG...]\n", stderr);
		return 2;
	}
	if ((errno = posix_spawn(&pid, argv[2], NULL, NULL, argv + 2, environ)) != 0) {
		perror(argv[2]);
		return 127;
	}
	/* The peak only grows: the last reading is the run's. */
	while (wait4(pid, &status, WNOHANG, &usage) == 0) {
		if ((kb = peak_kb(pid)) >= 0)
			peak = kb;
		nanosleep(&tick, NULL);
	}
	if ((out = fopen(argv[1], "w")) == NULL)
		return 1;
	fprintf(out, "%ld %ld\n", peak,
		(long)((usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
		       usage.ru_utime.tv_usec + usage.ru_stime.tv_usec));
	fclose(out);
	return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
