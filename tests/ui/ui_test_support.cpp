#include "ui_test_support.h"

namespace kw::test
{

Windows::Windows()
    : main(std::make_unique<ui::THauptfenster>())
    , meldung(std::make_unique<ui::TMeldung>(main.get()))
    , suchergebnis(std::make_unique<ui::TSuchergebnis>())
{
    main->attach(meldung.get(), suchergebnis.get());
    main->show();
}

Windows::~Windows()
{
    suchergebnis.reset();
    meldung.release(); // owned by the main window as its child
    main.reset();
}

MessageLog::MessageLog(ui::MessageButton answer)
{
    ui::setMessageInterceptor([this, answer](const ui::MessageRequest &request) {
        messages.emplace_back(request.kind, request.text);
        requests.push_back(request);
        if (whileShown)
            whileShown();
        return answer;
    });
}

MessageLog::~MessageLog()
{
    ui::setMessageInterceptor(nullptr);
}

} // namespace kw::test
