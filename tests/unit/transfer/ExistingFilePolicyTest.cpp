#include "transfer/ExistingFilePolicy.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

using Action = ExistingFileDecision::Action;
using Choice = ExistingFileChoice;

const QDateTime earlier(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC);
const QDateTime later = earlier.addSecs(60);

// A source of 1000 bytes over a target of the given size.
ExistingFileQuestion file(qint64 targetSize, const QDateTime &sourceTime = later, const QDateTime &targetTime = earlier,
                          const QString &name = u"rapport.pdf"_s)
{
    return {name, 1000, sourceTime, targetSize, targetTime, targetSize < 1000};
}

struct Step {
    ExistingFileQuestion question;
    std::optional<ExistingFileAnswer> asked; // none: decided without asking
    Action action;
    QString name = {};
};

// Each batch is one transfer run; the names typed answer the name boxes in turn.
struct Batch {
    const char *what;
    std::vector<Step> steps;
    std::vector<std::optional<QString>> typed = {};
    QStringList proposed = {}; // what the name boxes were prefilled with
};

TEST(ExistingFilePolicyTest, EachFileIsDecidedByItsAnswerOrByTheAnswerForAll)
{
    const QStringList taken{u"rapport (2).pdf"_s, u"autre.pdf"_s};
    const Batch batches[] = {
        {"each file asks without the box",
         {{file(500), {{Choice::Replace, false}}, Action::Write},
          {file(500), {{Choice::ReplaceIfNewer, false}}, Action::Write},
          {file(500, earlier, later), {{Choice::ReplaceIfNewer, false}}, Action::Skip},
          {file(500, earlier.addMSecs(900), earlier), {{Choice::ReplaceIfNewer, false}}, Action::Skip},
          {file(500, {}, earlier), {{Choice::ReplaceIfNewer, false}}, Action::Skip},
          {file(500, later, {}), {{Choice::ReplaceIfNewer, false}}, Action::Skip},
          {file(500), {{Choice::Resume, false}}, Action::Resume},
          {file(500), {{Choice::Skip, false}}, Action::Skip},
          {file(500), {{Choice::Cancel, false}}, Action::CancelRun}}},
        {"the name box asks again until a usable free name",
         {{file(500), {{Choice::Rename, false}}, Action::WriteAs, u"final.pdf"_s}},
         {u""_s, u"x/y.pdf"_s, u"x\\y.pdf"_s, u".."_s, u"autre.pdf"_s, u"rapport.pdf"_s, u"final.pdf"_s},
         {u"rapport (3).pdf"_s, u"rapport (3).pdf"_s, u"rapport (3).pdf"_s, u"rapport (3).pdf"_s, u"rapport (3).pdf"_s,
          u"autre (2).pdf"_s, u"rapport (3).pdf"_s}},
        {"a cancelled name box skips and is not for all",
         {{file(500), {{Choice::Rename, true}}, Action::Skip}, {file(500), {{Choice::Skip, false}}, Action::Skip}},
         {std::nullopt},
         {u"rapport (3).pdf"_s}},
        {"Remplacer for all",
         {{file(500), {{Choice::Replace, true}}, Action::Write}, {file(2000, earlier, later), {}, Action::Write}}},
        {"Remplacer si plus récent for all",
         {{file(500), {{Choice::ReplaceIfNewer, true}}, Action::Write},
          {file(500, earlier, later), {}, Action::Skip},
          {file(500, {}, earlier), {}, Action::Skip}}},
        {"Renommer for all takes free names",
         {{file(500), {{Choice::Rename, true}}, Action::WriteAs, u"b.pdf"_s},
          {file(500), {}, Action::WriteAs, u"rapport (3).pdf"_s}},
         {u"b.pdf"_s},
         {u"rapport (3).pdf"_s}},
        {"Reprendre for all",
         {{file(500), {{Choice::Resume, true}}, Action::Resume},
          {file(1000), {}, Action::Skip},
          {file(1500), {{Choice::Replace, false}}, Action::Write},
          {file(1500), {{Choice::Skip, true}}, Action::Skip},
          {file(500), {}, Action::Skip}}},
    };
    for (const Batch &batch : batches) {
        SCOPED_TRACE(batch.what);
        test::FakeDialogs dialogs;
        ExistingFilePolicy policy(dialogs);
        for (const std::optional<QString> &typed : batch.typed)
            dialogs.typeNext(typed);
        qsizetype questions = 0;
        for (const Step &step : batch.steps) {
            if (step.asked) {
                dialogs.answerExistingFileNext(*step.asked);
                ++questions;
            }
            const ExistingFileDecision decision =
                policy.decide(step.question, [&](const QString &name) { return taken.contains(name); });
            EXPECT_EQ(decision.action, step.action) << "step " << questions;
            EXPECT_EQ(decision.name, step.name);
            EXPECT_EQ(dialogs.existingFileQuestions.size(), questions);
        }
        EXPECT_EQ(dialogs.inputDefaults, batch.proposed);
    }
}

TEST(ExistingFilePolicyTest, AFreeNameIsNumberedBeforeTheLastSuffix)
{
    const QStringList taken{u"taken (2).pdf"_s, u"taken (3).pdf"_s};
    const std::pair<QString, QString> cases[] = {
        {u"rapport.pdf"_s, u"rapport (2).pdf"_s}, {u"archive.tar.gz"_s, u"archive.tar (2).gz"_s},
        {u"README"_s, u"README (2)"_s},           {u".bashrc"_s, u".bashrc (2)"_s},
        {u"taken.pdf"_s, u"taken (4).pdf"_s},     {u"rapport (2).pdf"_s, u"rapport (3).pdf"_s},
    };
    for (const auto &[name, suggested] : cases)
        EXPECT_EQ(suggestFreeName(name, [&](const QString &n) { return taken.contains(n); }), suggested);
}

} // namespace
} // namespace vendrel
