#pragma once

class Gateway;
class WindowSettings;

// What the screen takes from the current-user component (the program's CurrentUser): the open
// connection, taken afresh for every statement, and the service that keeps the window's place
// between runs.
class UserServices {
public:
    virtual ~UserServices() = default;
    // The open connection. Raises DbError when there is none.
    virtual Gateway& sqlconnection() = 0;
    virtual WindowSettings& VALTORClasses() = 0;
};
