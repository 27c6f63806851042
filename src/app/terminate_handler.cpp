// libstdc++'s default terminate handler prints the uncaught exception's
// demangled type to stderr before it aborts. A window program has no
// stderr to read, and the demangler and the printf it uses are a sixth of
// the executable, so this program's handler only aborts. The dispatcher
// catches every exception a handler throws; reaching this is a bug.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
