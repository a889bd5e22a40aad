// Key-binding text as typed or stored: any text parses without harm, a refusal leaves the list
// untouched, and what is accepted reads back the same from its own textual form.
#include "fuzzsupport.h"

#include "input/bindings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QKeySequence> untouched{QKeySequence(Qt::Key_F5)};
    QList<QKeySequence> keys = untouched;
    if (!parseBindingText(text, &keys).isEmpty()) {
        FUZZ_CHECK(keys == untouched);
        return 0;
    }
    QList<QKeySequence> again;
    FUZZ_CHECK(parseBindingText(bindingText(keys), &again).isEmpty());
    FUZZ_CHECK(again == keys);

    BindingTable table = defaultBindingTable();
    table[Action::NextSlide] = keys;
    if (validateBindings(table).isEmpty()) {
        for (const QKeySequence &key : std::as_const(keys))
            FUZZ_CHECK(key.count() == 1 && !isUnknownKey(key));
    }
    return 0;
}
