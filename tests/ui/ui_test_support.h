// The program's windows, created as the program creates them, for window tests.
#pragma once

#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/progress_dialog.h"
#include "ui/result_window.h"

#include <QString>

#include <memory>
#include <vector>

namespace kw::test
{

struct Windows {
    Windows();
    ~Windows();
    std::unique_ptr<ui::THauptfenster> main;
    std::unique_ptr<ui::TMeldung> meldung;
    std::unique_ptr<ui::TSuchergebnis> suchergebnis;
};

// Answers every message box with `answer` and writes down what it said.
struct MessageLog {
    explicit MessageLog(ui::MessageButton answer = ui::MessageButton::Ok);
    ~MessageLog();
    std::vector<std::pair<ui::MessageKind, QString>> messages;
    std::vector<ui::MessageRequest> requests;
    std::function<void()> whileShown; // runs inside each box, as a user could act then
};

} // namespace kw::test
