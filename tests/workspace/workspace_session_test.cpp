// The workspace session alone: what each change does to the rest of the
// workspace and what its listeners hear.
#include "workspace/model/workspace_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace cn {
namespace {

std::vector<std::size_t> MarkRows(const WorkspaceSession& session) {
  std::vector<std::size_t> rows;
  for (const Mark& mark : session.Marks()) rows.push_back(mark.equation);
  return rows;
}

TEST(WorkspaceSession, MarksFollowTheirRows) {
  struct Case {
    const char* change;
    std::function<void(EquationModel&)> apply;
    std::vector<std::size_t> rows;  // the rows of the marks kept, in order
  };
  const Case cases[] = {
      {"a new colour keeps them", [](EquationModel& m) { m.SetColor(1, 0xFF); }, {0, 1, 2}},
      {"an edited text ends the row's", [](EquationModel& m) { m.SetExpression(1, "x^3"); }, {0, 2}},
      {"an edited condition too", [](EquationModel& m) { m.SetCondition(0, "x > 1"); }, {1, 2}},
      {"a text edited back to itself keeps them", [](EquationModel& m) { m.SetExpression(2, "1/x"); }, {0, 1, 2}},
      {"rows below a removed one move up", [](EquationModel& m) { m.Remove(1); }, {0, 1}},
      {"the last row removed", [](EquationModel& m) { m.Remove(2); }, {0, 1}},
      {"a row appended keeps them", [](EquationModel& m) { m.Append({"x", "", 0}); }, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    WorkspaceSession session;
    for (const char* e : {"x^2", "sin(x)", "1/x"}) session.Equations().Append({e, "", 0});
    session.AddMarks({{0, 0, 0}, {1, 0.841, 1}, {2, 0.5, 2}, {2, 0.5, 2}, {7, 7, 9}});
    ASSERT_EQ(MarkRows(session), (std::vector<std::size_t>{0, 1, 2})) << "a repeat and a stray row are dropped";
    c.apply(session.Equations());
    EXPECT_EQ(MarkRows(session), c.rows) << c.change;
  }
}

TEST(WorkspaceSession, ListenersHearEachChangeOnce) {
  WorkspaceSession session;
  std::vector<SessionChange> heard;
  const std::size_t id = session.AddListener([&](SessionChange c) { heard.push_back(c); });
  session.Equations().Append({"x", "", 0});
  session.SetWindowText(WindowBox::kXMax, "20");
  session.SetWindowText(WindowBox::kXMax, "20");  // no change, no word
  session.SetWriteEquations(false);
  session.AddPoint(true, "3");
  session.AddMarks({{1, 1, 0}});
  WorkspaceDocument document = session.Document();
  session.Apply(document);
  EXPECT_EQ(heard, (std::vector<SessionChange>{SessionChange::kEquations, SessionChange::kWindowTexts,
                                               SessionChange::kOptions, SessionChange::kDataPoints,
                                               SessionChange::kMarks, SessionChange::kDocument}));
  // What Apply took is what Document gives back, marks included.
  EXPECT_EQ(session.Document(), document);
  session.RemoveListener(id);
  session.ClearMarks();
  EXPECT_EQ(heard.size(), 6u);
}

TEST(WorkspaceSession, TheWindowIsReadFromTheTexts) {
  WorkspaceSession session;
  session.SetWindowText(WindowBox::kXMin, "-3.5");
  EXPECT_EQ(session.Window().xmin, -10) << "typing alone does not change the window";
  EXPECT_FALSE(session.ReadWindow());
  EXPECT_EQ(session.Window().xmin, -4);  // half to even
  session.SetWindowText(WindowBox::kXMax, "-4");
  EXPECT_TRUE(session.ReadWindow());
  EXPECT_EQ(session.Window().xmax, 10) << "a window that cannot draw keeps the last good one";

  session.ShowWindow({-2, 2, -1, 1, 0.5f, 0.25f}, /*steps=*/true);
  EXPECT_EQ(session.WindowTexts(), (WorkspaceWindow{"-2", "2", "-1", "1", "0.25", "0.5"}));
  EXPECT_EQ(session.Graph().window, session.Window());
}

}  // namespace
}  // namespace cn

namespace cn {
namespace {

TEST(WorkspaceSession, HistoryStepsShareTheDataPoints) {
  WorkspaceSession session;
  session.SetPoints({"1", "2", "3"}, {"4", "5", "6"});
  const SessionState first = session.State();
  session.Equations().Append({"x", "", 0});
  const SessionState second = session.State(&first);
  EXPECT_EQ(second.points, first.points) << "kept once";
  EXPECT_EQ(NameChange(first, second).text, "Add Equation");
  session.AddPoint(false, "7");
  const SessionState third = session.State(&second);
  EXPECT_NE(third.points, second.points);
  EXPECT_EQ(NameChange(second, third).text, "Add Data Point");
  session.Restore(first);
  WorkspaceDocument expected;
  expected.statX = {"1", "2", "3"};
  expected.statY = {"4", "5", "6"};
  EXPECT_TRUE(session.Holds(expected));
  EXPECT_FALSE(session.Holds(WorkspaceDocument{}));
}

}  // namespace
}  // namespace cn
