#include "CompanySetup.h"

#include "SettingText.h"
#include "core/common/ErrorBox.h"
#include "core/common/Settings.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Dialogs.h"

namespace plax::settings {
namespace {

const QString kKey = QStringLiteral("Company Settings");

// A number typed for a setting of 0 to 59 minutes.
bool validMinutes(double v) {
    return v >= 0 && v <= 59;
}

// Runs one write; a failure shows the error box and returns false.
template <typename F> bool attempt(F&& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return false;
    }
}

int indexOfWorkDay(int workDay) {
    return workDay >= 1 && workDay <= 7 ? workDay - 1 : -1;
}

void saveCompanyName(db::Database& db, CompanySettings& s, CompanySetupState& st,
                     const CompanySetupHooks& hooks) {
    if (!attempt([&] { SaveRegValue(db, kKey, QStringLiteral("CompanyName"), st.companyName); }))
        return;
    s.CompanyName = st.companyName;
    st.companyNameTag = st.companyName;
    if (hooks.setMainCaption)
        hooks.setMainCaption(s.CompanyName + kCaptionSuffix);
}

void saveDataFile(CompanySetupState& st, const CompanySetupHooks& hooks) {
    st.dataFile = cleanDatabaseLocation(st.dataFile);
    const bool stored = hooks.saveDatabaseLocation
                            ? hooks.saveDatabaseLocation(st.dataFile)
                            : SaveWindowsSetting(kAppKey, kKey, QStringLiteral("Database"), st.dataFile);
    // The restart notice only when the new location will really be used.
    if (!stored)
        return;
    st.dataFileTag = st.dataFile;
    ui::MsgBox(
        QStringLiteral("Database location has changed. You need to restart the application in order for "
                       "the changes to take effect."));
}

void saveIncludeWages(db::Database& db, CompanySettings& s, CompanySetupState& st) {
    const QString value = st.includeWages ? QStringLiteral("1") : QStringLiteral("0");
    if (!attempt([&] { SaveRegValue(db, kKey, QStringLiteral("IncludeWages"), value); }))
        return;
    st.includeWagesTag = value;
    s.IncludeWages = st.includeWages != 0;
}

void saveRoundTotal(db::Database& db, CompanySettings& s, CompanySetupState& st,
                    const CompanySetupHooks& hooks) {
    const QString text = settingNumberText(st.roundTotal);
    const double v = leadingNumber(text);
    if (!validMinutes(v)) {
        ui::MsgBox(QStringLiteral("Invalid rounding value."), ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    const int unit = *wholeNumber(v);
    const ui::Answer a =
        ui::MsgBox(QStringLiteral("You have changed the rounding value.\rTotal time will be updated."),
                   ui::Buttons::OKCancel, ui::Icon::Information);
    if (a == ui::Answer::OK) {
        // The setting and every total it changes in one transaction: a
        // failure, or the program ended half way, leaves both as they were.
        ui::WaitCursor wait;
        if (!attempt([&] { ApplyRoundTotal(db, s, text, unit, hooks.progress); }))
            return;
    } else {
        // The new unit is saved and in force; stored totals keep their old rounding.
        if (!attempt([&] { SaveRegValue(db, kKey, QStringLiteral("RoundTotal"), text); }))
            return;
        s.RoundTotal = unit;
    }
    st.roundTotalTag = st.roundTotal;
}

void saveWorkWeek(db::Database& db, CompanySettings& s, CompanySetupState& st,
                  const CompanySetupHooks& hooks) {
    const ui::Answer a = ui::MsgBox(
        QStringLiteral("You have changed the week start day. \rThe database tables will be updated."),
        ui::Buttons::OKCancel, ui::Icon::Information);
    if (a != ui::Answer::OK || st.workWeekIndex < 0) {
        st.workWeekIndex = indexOfWorkDay(s.WorkDay); // the stored day comes back
        return;
    }
    ui::WaitCursor wait;
    if (attempt([&] { ApplyWorkDay(db, s, st.workWeekIndex + 1, hooks.progress); }))
        st.workWeekTag = st.workWeekText();
    else
        st.workWeekIndex = indexOfWorkDay(s.WorkDay); // nothing was changed
}

void saveDayStart(db::Database& db, CompanySettings& s, CompanySetupState& st,
                  const CompanySetupHooks& hooks) {
    const ui::Answer a = ui::MsgBox(
        QStringLiteral("You have changed the day start time. \rThe database tables will be updated."),
        ui::Buttons::OKCancel, ui::Icon::Information);
    if (a != ui::Answer::OK)
        return; // the picker keeps the new time and still counts as changed
    ui::WaitCursor wait;
    if (attempt([&] { ApplyDayStart(db, s, st.dayStart, hooks.progress); }))
        st.dayStartTag = st.dayStart.toHm();
}

void saveGraceP(db::Database& db, CompanySettings& s, CompanySetupState& st) {
    const QString text = settingNumberText(st.graceP);
    const double v = leadingNumber(text);
    if (!validMinutes(v)) {
        ui::MsgBox(QStringLiteral("Invalid grace period."), ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    if (!attempt([&] { SaveRegValue(db, kKey, QStringLiteral("GraceP"), text); }))
        return;
    st.gracePTag = st.graceP;
    s.GraceP = *wholeNumber(v);
}

} // namespace

QStringList weekDayNames() {
    return {QStringLiteral("Sunday"),    QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
            QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
            QStringLiteral("Saturday")};
}

QString cleanDatabaseLocation(const QString& typed) {
    QString clean;
    clean.reserve(typed.size());
    for (const QChar c : typed)
        if (c.category() != QChar::Other_Control)
            clean += c;
    return clean.trimmed();
}

QString CompanySetupState::workWeekText() const {
    return workWeekIndex >= 0 && workWeekIndex < 7 ? weekDayNames().at(workWeekIndex) : QString();
}

bool CompanySetupState::includeWagesChanged() const {
    return wholeNumber(leadingNumber(includeWagesTag)).value_or(-1) != includeWages;
}

bool CompanySetupState::dayStartChanged() const {
    const auto tag = TimeOfDay::parse(dayStartTag);
    return !tag || *tag != dayStart;
}

bool CompanySetupState::anyChanged() const {
    return companyNameChanged() || workWeekChanged() || dayStartChanged() || includeWagesChanged() ||
           dataFileChanged() || roundTotalChanged() || gracePChanged();
}

CompanySetupState LoadCompanySetup(const CompanySettings& s, const QString& dbPath) {
    CompanySetupState st;
    st.companyName = s.CompanyName;
    st.dataFile = dbPath;
    st.includeWages = s.IncludeWages ? 1 : 0;
    st.graceP = QString::number(s.GraceP);
    st.workWeekIndex = indexOfWorkDay(s.WorkDay);
    st.dayStart = s.DayStartTime;
    st.roundTotal = QString::number(s.RoundTotal);
    SnapshotSettingTags(st);
    return st;
}

void SnapshotSettingTags(CompanySetupState& st) {
    st.companyNameTag = st.companyName;
    st.workWeekTag = st.workWeekText();
    st.dayStartTag = st.dayStart.toHm();
    st.roundTotalTag = st.roundTotal;
    st.includeWagesTag = QString::number(st.includeWages);
    st.dataFileTag = st.dataFile;
    st.gracePTag = st.graceP;
}

void SaveCompanySetup(db::Database& db, CompanySettings& s, CompanySetupState& st,
                      const CompanySetupHooks& hooks) {
    if (st.companyNameChanged())
        saveCompanyName(db, s, st, hooks);
    if (st.dataFileChanged())
        saveDataFile(st, hooks);
    if (st.includeWagesChanged())
        saveIncludeWages(db, s, st);
    if (st.roundTotalChanged())
        saveRoundTotal(db, s, st, hooks);
    if (st.workWeekChanged())
        saveWorkWeek(db, s, st, hooks);
    if (st.dayStartChanged())
        saveDayStart(db, s, st, hooks);
    if (st.gracePChanged())
        saveGraceP(db, s, st);
}

} // namespace plax::settings
