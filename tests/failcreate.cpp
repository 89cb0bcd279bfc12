// Preloaded under the program to make its Nth pthread_create fail with
// EAGAIN, as a system out of threads would; N comes from FAIL_PTHREAD_CREATE.

#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstdlib>

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
	const char *fail = std::getenv("FAIL_PTHREAD_CREATE");

	if (fail != nullptr && ++calls == std::strtol(fail, nullptr, 10))
		return EAGAIN;
	auto *real = reinterpret_cast<decltype(&pthread_create)>(
	    dlsym(RTLD_NEXT, "pthread_create"));
	return real(thread, attr, routine, arg);
}
