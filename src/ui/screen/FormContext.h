#pragma once

#include "core/db/Gateway.h"
#include "core/history/LinkHistory.h"
#include "ui/screen/Controls.h"
#include "ui/screen/ScreenCalls.h"
#include "ui/screen/StepGuide.h"
#include "ui/screen/UserServices.h"
#include "ui/widgets/Prompter.h"

// What every operation of the screen works with: the controls (which hold all working state),
// the connection of the current user, the message boxes, the step pointer, the history that
// every change of a link writes, and the calls that reach the screen's other parts.
struct FormContext {
    Controls& c;
    UserServices& user;
    Prompter& prompter;
    StepGuide& steps;
    history::LinkHistory& history;
    ScreenCalls& screen;

    // The connection, taken afresh for every statement.
    Gateway& db() { return user.sqlconnection(); }

    // How the list loads report a failure: the database's text, then where to go about it.
    void reportLoadFailure(const QString& description) {
        prompter.message(description);
        prompter.message(QStringLiteral("Create tables under Maintenance tab."));
    }
};
