// PDF files through the service, as the program opens them: load, render the first page, search.
// Any bytes end in a load, a failure or a render failure, each in bounded time, never a crash.
#include "fuzzsupport.h"

#include "pdf/pdfservice.h"

namespace {

// Far above what a small input takes; a step that needs longer is a hang worth keeping.
constexpr int StepMs = 10000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    const QString path = Fuzz::scratch() + QStringLiteral("/input.pdf");
    Fuzz::writeFile(path, data, size);

    PdfService service;
    // Every page is read here, as where no text reader is installed, so the input meets the
    // engine in this process, under the fuzzer's eyes.
    service.setTextReaderEnabled(false);
    int pages = -1;
    bool failed = false;
    QObject::connect(&service, &PdfService::loaded, &service, [&](int count) { pages = count; });
    QObject::connect(&service, &PdfService::failed, &service, [&] { failed = true; });
    service.load(path);
    FUZZ_CHECK(Fuzz::waitFor([&] { return pages >= 0 || failed; }, StepMs));
    if (failed)
        return 0;
    FUZZ_CHECK(pages > 0 && pages == service.pageCount());

    const QSize target(160, 120);
    bool rendered = false;
    QObject::connect(&service, &PdfService::rendered, &service, [&](const QString &, int page, const QImage &image) {
        FUZZ_CHECK(page == 0);
        FUZZ_CHECK(image.width() <= target.width() && image.height() <= target.height());
        rendered = true;
    });
    QObject::connect(&service, &PdfService::renderFailed, &service, [&] { rendered = true; });
    service.render(QStringLiteral("fuzz"), 0, target, 0, RenderPriority::Output, RenderShape::Whole);
    FUZZ_CHECK(Fuzz::waitFor([&] { return rendered; }, StepMs));

    bool searched = false;
    QObject::connect(&service, &PdfService::searchFinished, &service, [&](const QList<SearchHit> &hits, bool) {
        for (const SearchHit &hit : hits)
            FUZZ_CHECK(hit.page >= 0 && hit.page < pages);
        searched = true;
    });
    service.search(QStringLiteral("e"));
    FUZZ_CHECK(Fuzz::waitFor([&] { return searched; }, StepMs));
    return 0;
}
