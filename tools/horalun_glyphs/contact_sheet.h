// A PNG overview of every delivered image, for judging them by eye.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace horalun {

struct SheetEntry {
    QString label;
    QImage image;
};

// Each entry labelled, at its own size and enlarged four times over a light pixel grid
// (images above 64 pixels only at their own size), flowing in rows.
QImage contact_sheet(const std::vector<SheetEntry>& entries);

}  // namespace horalun
