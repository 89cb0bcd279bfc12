// Preloaded under the program to make some of its pthread_create calls fail
// with EAGAIN, as a system out of threads would. FAIL_PTHREAD_CREATE lists
// them by number, from 1, separated by spaces: "2", or "1 2". Each failed
// call's number is added to the file FAILED_PTHREAD_CREATE_LOG names, which
// shows the tests that the preload took effect.

#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace
{

// Whether the list names this call.
bool listed(const char *list, long call)
{
	char *end = nullptr;

	for (; list != nullptr; list = end) {
		const long listed_call = std::strtol(list, &end, 10);
		if (end == list)
			return false;
		if (listed_call == call)
			return true;
	}
	return false;
}

// Whether the program's calls come to this pthread_create first. One that
// carries its own, as a program with a static sanitizer runtime does, calls
// that instead, which passes on its runtime's threads too: those could not
// be told from the program's, so then no call is failed.
bool first_in_line()
{
	Dl_info self{};
	Dl_info found{};

	return dladdr(reinterpret_cast<void *>(&listed), &self) != 0 &&
	    dladdr(dlsym(RTLD_DEFAULT, "pthread_create"), &found) != 0 &&
	    self.dli_fbase == found.dli_fbase;
}

} // namespace

// The noexcept clause is the C library's own: glibc's header says
// noexcept, others say nothing, and a replacement must agree with it.
extern "C" int pthread_create(pthread_t *thread, const pthread_attr_t *attr,
    void *(*routine)(void *),
    void *arg) noexcept(noexcept(pthread_create(thread, attr, routine, arg)))
{
	static long calls;
	++calls;
	// The program creates its threads from one thread, and nothing in it
	// changes the environment.
	// NOLINTBEGIN(concurrency-mt-unsafe)
	if (first_in_line() &&
	    listed(std::getenv("FAIL_PTHREAD_CREATE"), calls)) {
		const char *log = std::getenv("FAILED_PTHREAD_CREATE_LOG");
		FILE *noted = log != nullptr ? std::fopen(log, "a") : nullptr;
		if (noted != nullptr) {
			std::fprintf(noted, "%ld\n", calls);
			std::fclose(noted);
		}
		return EAGAIN;
	}
	// NOLINTEND(concurrency-mt-unsafe)
	auto *real = reinterpret_cast<decltype(&pthread_create)>(
	    dlsym(RTLD_NEXT, "pthread_create"));
	return real(thread, attr, routine, arg);
}
