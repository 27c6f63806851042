// Two parts of libstdc++ that a static window program pays for and never
// uses are replaced here.
//
// The default terminate handler prints the uncaught exception's demangled
// type to stderr before it aborts. A window program has no stderr to read,
// and the demangler and the printf it uses are a sixth of the executable,
// so this program's handler only aborts. The dispatcher catches every
// exception a handler throws; reaching this is a bug.
//
// The library's containers report misuse through std::__throw_length_error
// and its kin, which build std::logic_error and friends around a
// copy-on-write string: that alone links a second std::string
// implementation and std::random_device (about 30 KB). Here they throw a
// plain std::exception that carries the same text, which is all the
// dispatcher reads of an exception it does not know.
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <new>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

class TLibraryFault : public std::exception {
 public:
  explicit TLibraryFault(const char* text) {
    // Copied by hand: printf would link the C library's formatter (15 KB).
    std::size_t n = 0;
    for (; text && text[n] && n + 1 < sizeof text_; ++n) text_[n] = text[n];
    text_[n] = '\0';
  }
  const char* what() const noexcept override { return text_; }

 private:
  char text_[160];
};

}  // namespace

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_length_error(const char* text) { throw TLibraryFault(text); }
void __throw_logic_error(const char* text) { throw TLibraryFault(text); }
void __throw_out_of_range(const char* text) { throw TLibraryFault(text); }
void __throw_invalid_argument(const char* text) { throw TLibraryFault(text); }
// The format names the check that failed; its numbers are left out.
void __throw_out_of_range_fmt(const char* format, ...) { throw TLibraryFault(format); }
}  // namespace std
#endif
