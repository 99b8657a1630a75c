// Keeps the library a valid archive while routines are added file by file.
namespace cn::mathlib_detail {
int LibraryAnchor() { return 0; }
}  // namespace cn::mathlib_detail
