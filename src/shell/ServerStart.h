#pragma once

class Database;

// The start on a shared base: the server that Base.ini names is reached before the main window
// reads the tree from it. When it cannot be (unreachable, refused, not a base of this program),
// a message names the server and the reason and offers to go on with the local base instead.
namespace ServerStart {

// False when the person chose to end the program; otherwise the database is ready to be used,
// on the server or, as chosen, on Data.QBD.
bool connect(Database *database);

} // namespace ServerStart
