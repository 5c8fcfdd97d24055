#include "PlatformTestSupport.h"

#include "core/CollectingPrompt.h"
#include "document/ChartDocument.h"
#include "map/MapPage.h"
#include "render/PageLayout.h"
#include "view/DocumentPage.h"

#include <gtest/gtest.h>

// The bundled derived maps, drawn as `demla render FILE.dml --size 600x420`
// draws them, must match the pictures kept in the source tree, with the
// tolerance of the other baselines for pictures with text (a channel off by
// more than 48 in at most 0.5 % of the pixels). DEMLA_UPDATE_BASELINES=1
// writes the kept pictures afresh.
TEST(Baselines, TheDerivedExamplesMatchTheirKeptPictures) {
    constexpr int kWidth = 600;
    constexpr int kHeight = 420;
    for (const char* name : {"dk-mortality-sex-ratio", "dk-male-mortality-improvement"}) {
        SCOPED_TRACE(name);
        CollectingPrompt prompt;
        ChartDocument document(prompt);
        ASSERT_TRUE(document.Open(std::string(DEMLA_EXAMPLES_DIR) + "/" + name + ".dml"));
        ASSERT_TRUE(prompt.Messages().empty()) << prompt.Messages().front().text;
        ASSERT_TRUE(document.Derived);
        MapPageOptions options;
        options.page = DefaultPageOf(document);
        options.pageOutline = false;
        const MapPageContent content = PageContentOf(document);
        const QImage actual = Draw(kWidth, kHeight, kWhite, [&](QtSurface& surface) {
            PageCoordinateSystem view(0, options.page.width, 0, options.page.height, 0, kWidth,
                                      kHeight, 0);
            FitPage(view, options.page);
            PaintMapPage(surface, view, content, options);
        });
        ExpectKeptPicture(actual, QString("example-") + name, 0.005 * kWidth * kHeight);
    }
}
