// stagger: two workers count from 0 to 9 on standard output, one number a
// second, the second worker started three seconds after the first.

#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace
{

// Runs on each worker thread. Each item is flushed as soon as it is printed,
// so a reader sees it live whether standard output is a terminal, a pipe or
// a file. A failed write neither stops the count nor changes its timing; the
// errno of the first one goes to *arg, for main to report.
void *counter(void *arg)
{
	auto *write_error = static_cast<int *>(arg);

	for (int i = 0; i <= 9; i++) {
		if ((std::printf("%d ", i) < 0 || std::fflush(stdout) == EOF) &&
		    *write_error == 0)
			*write_error = errno;
		sleep(1);
	}
	return nullptr;
}

// Starts a worker, or says on standard error why the system would not.
bool start(pthread_t *worker, int *write_error)
{
	const int error = pthread_create(worker, nullptr, counter, write_error);
	if (error != 0) {
		errno = error;
		std::perror("stagger: cannot create thread");
	}
	return error == 0;
}

} // namespace

int main()
{
	pthread_t first;
	pthread_t second;
	int first_write_error = 0;
	int second_write_error = 0;

	const bool first_started = start(&first, &first_write_error);
	sleep(3);
	const bool second_started = start(&second, &second_write_error);

	// A worker that was never created has nothing to join.
	if (first_started)
		pthread_join(first, nullptr);
	if (second_started)
		pthread_join(second, nullptr);

	// Both workers write to the one standard output, so one report covers
	// both.
	const int write_error =
	    first_write_error != 0 ? first_write_error : second_write_error;
	if (write_error != 0) {
		errno = write_error;
		std::perror("stagger: write error");
	}
	return first_started && second_started && write_error == 0 ? 0 : 1;
}
