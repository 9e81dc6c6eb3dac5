#pragma once

#include "document.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace markup {

// What a parse has to say of its text, each where it found it (an offset into the text).
struct Problem {
    qsizetype at = 0;
    QString message;
};
// No more ignored attributes are described than this, however many a caption has: a huge
// caption must not make a huge report.
constexpr int kMaxIgnored = 100;
struct Problems {
    std::optional<Problem> error; // why the text is not markup
    std::vector<Problem> ignored; // attributes that changed nothing, the first kMaxIgnored
    int ignoredCount = 0;         // all of them
};

// The document text describes, or null when it is not markup. Reads text once from start to end,
// keeps an explicit stack of open elements (at most kMaxDepth) and never reads past its end.
// With problems, also says why text is not markup, and which attributes it ignored.
std::shared_ptr<Document> parseDocument(QStringView text, Problems* problems = nullptr);

} // namespace markup
