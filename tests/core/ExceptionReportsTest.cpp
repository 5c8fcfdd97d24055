#include "core/ExceptionReports.h"

#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace {

TEST(ExceptionReports, EntryBoxesAndPaintTextAreExact) {
    ScriptedPrompt prompt;
    ReportLException(prompt, LException("MVector :: MVector", "UpperBound < LowerBound"));
    ReportWMException(prompt, WMException(3));
    ASSERT_EQ(prompt.Count(), 2u);
    const auto& l = prompt.Entries()[0];
    EXPECT_EQ(l.caption, "Exception");
    EXPECT_EQ(l.text, "Place: MVector :: MVector\r\nDescription: UpperBound < LowerBound\r\n");
    EXPECT_EQ(l.buttons, PromptButtons::Ok);
    EXPECT_EQ(l.icon, PromptIcon::None);
    const auto& w = prompt.Entries()[1];
    EXPECT_EQ(w.caption, "Exception");
    EXPECT_EQ(w.text, "WMException \nCode 3\nDescription: Matrix index out of range");
    EXPECT_EQ(w.buttons, PromptButtons::Ok);

    EXPECT_EQ(PaintExceptionText(LException("CCSystem", "zero range")),
              "Exception zero range\r\nin CCSystem");
}

} // namespace
