#pragma once
// The translation context of the texts that tell why a picture cannot be used, shared by every
// reader of the picture files.

#include <QCoreApplication>

struct PictureFile {
    Q_DECLARE_TR_FUNCTIONS(PictureFile)
};
