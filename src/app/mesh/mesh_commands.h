#pragma once
// "Fiber Section Mesh" in the main window (page button, "Mesh Section" menu item, tool button).
namespace qav {

class AppContext;

// Sets cmd::Mesh: meshes the section with the current grade lists and "Mesh Size" box, then
// redraws the view and fills the counts and the "Section Properties" boxes. A mesh size that
// is not a usable number is refused before anything changes; the triangulator's messages are
// shown once each when the command ends. A long mesh shows its progress with "Cancel"; a
// cancelled mesh leaves the model as it was. The command's progress maker belongs to a child
// of the main window named "MeshCommand" (a ProgressSource), for tests.
void installMeshCommands(AppContext& ctx);

}  // namespace qav
