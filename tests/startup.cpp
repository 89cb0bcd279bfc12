// Writes one byte from a thread of its own, as the program writes its
// first item, and exits. The tests time it, built and run as the program
// is, to tell from the program's timing what is not its own.

#include <pthread.h>

#include <cstdio>

namespace
{

void *write_byte(void * /*unused*/)
{
	std::fputc('0', stdout);
	std::fflush(stdout);
	return nullptr;
}

} // namespace

int main()
{
	pthread_t thread;

	// Where no thread can be made, main writes the byte, as the program
	// reports such a failure from main.
	if (pthread_create(&thread, nullptr, write_byte, nullptr) != 0)
		write_byte(nullptr);
	else
		pthread_join(thread, nullptr);
	return 0;
}
