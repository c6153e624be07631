#pragma once

#include "platform/UrlOpener.h"

class QtUrlOpener : public UrlOpener {
public:
    bool openUrl(const QUrl& url) override;
};
