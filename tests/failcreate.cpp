// Preloaded under the program to make some of its pthread_create calls fail
// with EAGAIN, as a system out of threads would. FAIL_PTHREAD_CREATE lists
// them by number, from 1, separated by commas: "2", or "1,2".

#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstdlib>

// Whether the list names this call.
static bool listed(const char *list, long call)
{
	char *end = nullptr;

	for (; list != nullptr && *list != '\0'; list = end + (*end == ',')) {
		if (std::strtol(list, &end, 10) == call)
			return true;
		if (end == list)
			return false;
	}
	return false;
}

// The noexcept clause is the C library's own: glibc's header says
// noexcept, others say nothing, and a replacement must agree with it.
extern "C" int pthread_create(pthread_t *thread, const pthread_attr_t *attr,
    void *(*routine)(void *),
    void *arg) noexcept(noexcept(pthread_create(thread, attr, routine, arg)))
{
	static long calls;
	// The program creates its threads from one thread, and nothing in it
	// changes the environment.
	// NOLINTNEXTLINE(concurrency-mt-unsafe)
	if (listed(std::getenv("FAIL_PTHREAD_CREATE"), ++calls))
		return EAGAIN;
	auto *real = reinterpret_cast<decltype(&pthread_create)>(
	    dlsym(RTLD_NEXT, "pthread_create"));
	return real(thread, attr, routine, arg);
}
