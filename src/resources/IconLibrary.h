#pragma once

#include <QIcon>

// The program's image lists. Each function takes the index its list is known by; an index
// outside the list gives a null icon.
namespace IconLibrary {

// Menus and tool bar. 17, 18 and 19 are the unavailable looks of 14, 15 and 16.
QIcon mainImage(int index);
// Category tree nodes and the tree's pop-up menu.
QIcon treeImage(int index);
// A tree node's icon: its image, and its selected image while selected.
QIcon treeNodeIcon(int image, int selectedImage);
// Material list entries (large and small alike) and the list's pop-up menu.
QIcon listImage(int index);
// Detail pane rows and the tray menu.
QIcon detailImage(int index);
// Tool bar of a separate viewer.
QIcon viewerImage(int index);
// The export (0) and the import (1) of materials, in the menus.
QIcon exchangeImage(int index);
// A material's earlier versions (0) and the recycle bin (1), in the menus.
QIcon historyImage(int index);
// The application's own icon.
QIcon mainIcon();
// The button that empties a text box.
QIcon clearTextImage();

} // namespace IconLibrary
