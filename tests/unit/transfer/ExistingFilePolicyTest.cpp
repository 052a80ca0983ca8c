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
ExistingFileQuestion file(const QString &name, qint64 targetSize, const QDateTime &sourceTime = later,
                          const QDateTime &targetTime = earlier)
{
    return {name, 1000, sourceTime, targetSize, targetTime, targetSize < 1000};
}

struct Step {
    ExistingFileQuestion question;
    std::optional<ExistingFileAnswer> asked; // none: the policy must decide without asking
    std::vector<std::optional<QString>> typed;
    Action action;
    QString name = {};
};

struct Batch {
    const char *what;
    std::vector<Step> steps;
    QStringList taken = {};
};

TEST(ExistingFilePolicyTest, EachFileIsDecidedByItsAnswerOrByTheAnswerForAll)
{
    const Batch batches[] = {
        {"Remplacer", {{file(u"a"_s, 500), {{Choice::Replace, false}}, {}, Action::Write}}},
        {"plus récent: newer", {{file(u"a"_s, 500), {{Choice::ReplaceIfNewer, false}}, {}, Action::Write}}},
        {"plus récent: older",
         {{file(u"a"_s, 500, earlier, later), {{Choice::ReplaceIfNewer, false}}, {}, Action::Skip}}},
        {"plus récent: same second",
         {{file(u"a"_s, 500, earlier.addMSecs(900), earlier), {{Choice::ReplaceIfNewer, false}}, {}, Action::Skip}}},
        {"plus récent: source time unknown",
         {{file(u"a"_s, 500, {}, earlier), {{Choice::ReplaceIfNewer, false}}, {}, Action::Skip}}},
        {"plus récent: target time unknown",
         {{file(u"a"_s, 500, later, {}), {{Choice::ReplaceIfNewer, false}}, {}, Action::Skip}}},
        {"Reprendre", {{file(u"a"_s, 500), {{Choice::Resume, false}}, {}, Action::Resume}}},
        {"Renommer", {{file(u"a"_s, 500), {{Choice::Rename, false}}, {u"b"_s}, Action::WriteAs, u"b"_s}}},
        {"Ignorer", {{file(u"a"_s, 500), {{Choice::Skip, false}}, {}, Action::Skip}}},
        {"Annuler", {{file(u"a"_s, 500), {{Choice::Cancel, false}}, {}, Action::CancelRun}}},
        {"without the box every file asks",
         {{file(u"a"_s, 500), {{Choice::Replace, false}}, {}, Action::Write},
          {file(u"b"_s, 500), {{Choice::Skip, false}}, {}, Action::Skip}}},
        {"Remplacer for all",
         {{file(u"a"_s, 500), {{Choice::Replace, true}}, {}, Action::Write},
          {file(u"b"_s, 2000, earlier, later), {}, {}, Action::Write}}},
        {"plus récent for all",
         {{file(u"a"_s, 500), {{Choice::ReplaceIfNewer, true}}, {}, Action::Write},
          {file(u"b"_s, 500, earlier, later), {}, {}, Action::Skip},
          {file(u"c"_s, 500, {}, earlier), {}, {}, Action::Skip}}},
        {"Renommer for all takes free names",
         {{file(u"a.txt"_s, 500), {{Choice::Rename, true}}, {u"b.txt"_s}, Action::WriteAs, u"b.txt"_s},
          {file(u"notes.txt"_s, 500), {}, {}, Action::WriteAs, u"notes (3).txt"_s}},
         {u"notes (2).txt"_s}},
        {"Renommer given up in the name box is not for all",
         {{file(u"a"_s, 500), {{Choice::Rename, true}}, {std::nullopt}, Action::Skip},
          {file(u"b"_s, 500), {{Choice::Skip, false}}, {}, Action::Skip}}},
        {"Reprendre for all",
         {{file(u"a"_s, 500), {{Choice::Resume, true}}, {}, Action::Resume},
          {file(u"complete"_s, 1000), {}, {}, Action::Skip},
          {file(u"longer"_s, 1500), {{Choice::Replace, false}}, {}, Action::Write},
          {file(u"longer"_s, 1500), {{Choice::Skip, true}}, {}, Action::Skip},
          {file(u"shorter"_s, 500), {}, {}, Action::Skip}}},
    };
    for (const Batch &batch : batches) {
        SCOPED_TRACE(batch.what);
        test::FakeDialogs dialogs;
        ExistingFilePolicy policy(dialogs);
        qsizetype questions = 0;
        for (const Step &step : batch.steps) {
            if (step.asked) {
                dialogs.answerExistingFileNext(*step.asked);
                ++questions;
            }
            for (const std::optional<QString> &typed : step.typed)
                dialogs.typeNext(typed);
            const ExistingFileDecision decision =
                policy.decide(step.question, [&](const QString &name) { return batch.taken.contains(name); });
            EXPECT_EQ(decision.action, step.action) << step.question.name.toStdString();
            EXPECT_EQ(decision.name, step.name);
            EXPECT_EQ(dialogs.existingFileQuestions.size(), questions) << step.question.name.toStdString();
        }
    }
}

TEST(ExistingFilePolicyTest, TheNameBoxIsAskedAgainUntilTheNameIsUsableAndFree)
{
    test::FakeDialogs dialogs;
    ExistingFilePolicy policy(dialogs);
    dialogs.answerExistingFileNext({Choice::Rename, false});
    for (const QString &typed : {u""_s, u"x/y.pdf"_s, u"x\\y.pdf"_s, u".."_s, u"autre.pdf"_s, u"rapport.pdf"_s,
                                 u"final.pdf"_s})
        dialogs.typeNext(typed);
    const QStringList taken{u"rapport (2).pdf"_s, u"autre.pdf"_s};
    const ExistingFileDecision decision =
        policy.decide(file(u"rapport.pdf"_s, 500), [&](const QString &name) { return taken.contains(name); });
    EXPECT_EQ(decision.action, Action::WriteAs);
    EXPECT_EQ(decision.name, u"final.pdf"_s);
    EXPECT_EQ(dialogs.inputDefaults, (QStringList{u"rapport (3).pdf"_s, u"rapport (3).pdf"_s, u"rapport (3).pdf"_s,
                                                  u"rapport (3).pdf"_s, u"rapport (3).pdf"_s, u"autre (2).pdf"_s,
                                                  u"rapport (3).pdf"_s}));
}

TEST(ExistingFilePolicyTest, AFreeNameIsNumberedBeforeTheLastSuffix)
{
    const struct {
        QString name;
        QStringList taken;
        QString suggested;
    } cases[] = {
        {u"rapport.pdf"_s, {}, u"rapport (2).pdf"_s},
        {u"archive.tar.gz"_s, {}, u"archive.tar (2).gz"_s},
        {u"README"_s, {}, u"README (2)"_s},
        {u".bashrc"_s, {}, u".bashrc (2)"_s},
        {u"rapport.pdf"_s, {u"rapport (2).pdf"_s, u"rapport (3).pdf"_s}, u"rapport (4).pdf"_s},
        {u"rapport (2).pdf"_s, {}, u"rapport (3).pdf"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(suggestFreeName(c.name, [&](const QString &name) { return c.taken.contains(name); }), c.suggested)
            << c.name.toStdString();
    }
}

} // namespace
} // namespace vendrel
