// Test helper: saves a new rounding unit on the company settings screen's
// road and answers OK to "Total time will be updated.", so that a test can
// end it half way.
//   round_child <company database> <rounding unit as typed>
#include "core/common/Settings.h"
#include "core/settings/CompanySetup.h"
#include "platform/ui/Dialogs.h"

#include <cstdio>

using namespace plax;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: round_child <company database> <rounding unit>\n");
        return 2;
    }
    try {
        const QString path = QString::fromLocal8Bit(argv[1]);
        auto db = db::Database::open(path);
        CompanySettings s;
        LoadCompanySettings(*db, s);
        settings::CompanySetupState st = settings::LoadCompanySetup(s, path);
        st.roundTotal = QString::fromLocal8Bit(argv[2]);
        ui::ScriptedResponder answers;
        answers.answers = {ui::Answer::OK};
        settings::SaveCompanySetup(*db, s, st, {});
        return answers.messages.size() == 1 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "round_child: %s\n", e.what());
        return 1;
    }
}
