// Version data of the program.
namespace app {
int ProductEditionNumber() { return QLM_PRODUCT_EDITION; }
}  // namespace app
