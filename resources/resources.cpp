// Resource tables of the program (string tables, menus, dialog templates) in English and Japanese.
namespace res {
int ResourceTableVersion() { return 1; }
}  // namespace res
