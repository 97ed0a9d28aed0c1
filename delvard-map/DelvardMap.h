#pragma once

#include "delvard-map/CommandIo.h"

#include "resources/PictureList.h"

#include <QStringList>

#include <optional>

namespace delvard {

// The picture list, made when a command first asks for it, for render
// alone; each picture is decoded only when a cell first shows it.
class PicturesOnDemand
{
  public:
    const PictureList& get()
    {
        if (!pictures_)
            pictures_.emplace();
        return *pictures_;
    }

  private:
    std::optional<PictureList> pictures_;
};

// The whole program: args are the command-line arguments after the
// program's name; render draws with `pictures`. Returns the exit status.
int runDelvardMap(const QStringList& args, CommandIo& io, PicturesOnDemand& pictures);

} // namespace delvard
