/*
 * The program's routine in plain C: the floors that scripts/benchmark
 * measures the program against.
 */
#include <errno.h>
#include <pthread.h>
#include <stdio.h>
#include <unistd.h>

static void *counter(void *arg)
{
	int *write_error = arg;

	for (int i = 0; i <= 9; i++) {
		if ((printf("%d ", i) < 0 || fflush(stdout) == EOF) && *write_error == 0)
			*write_error = errno;
		sleep(1);
	}
	return NULL;
}

int main(void)
{
	pthread_t first, second;
	int first_error = 0, second_error = 0;
	int first_started = pthread_create(&first, NULL, counter, &first_error) == 0;

	sleep(3);
	int second_started = pthread_create(&second, NULL, counter, &second_error) == 0;
	if (first_started)
		pthread_join(first, NULL);
	if (second_started)
		pthread_join(second, NULL);
	return first_started && second_started && first_error == 0 && second_error == 0 ? 0 : 1;
}
