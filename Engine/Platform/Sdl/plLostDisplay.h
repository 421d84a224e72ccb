#pragma once

// When the X display goes away under the running game (the server ends or the connection breaks), the
// display library would end the process with exit(), running every static destructor in the middle of a
// frame. This makes it end the process at once instead, with a line on stderr, as a crash would.
void plEndProcessOnLostDisplay();
