// FynCom6: the shared library of data-file access, signal processing and drawing.
namespace fyn {
// Version of the library's exported interface.
int LibraryVersion() { return 6; }
}  // namespace fyn
