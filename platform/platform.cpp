// The platform layer: our own stand-ins for the operating-system services and the
// window framework that the program is written against.
namespace platform {
int LayerVersion() { return 1; }
}  // namespace platform
