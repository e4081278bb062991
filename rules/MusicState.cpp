#include "rules/MusicState.h"

QString MusicState::caption() const {
    return on_ ? QStringLiteral("قطع آهنگ") : QStringLiteral("پخش آهنگ");
}

QString MusicState::tag() const {
    return on_ ? QStringLiteral("1") : QStringLiteral("-1");
}

MusicCommand MusicState::Click() {
    const MusicCommand command = on_ ? MusicCommand::Pause : MusicCommand::Resume;
    on_ = !on_;
    return command;
}

MusicCommand MusicState::Tick(bool devicePlaying) const {
    return on_ && !devicePlaying ? MusicCommand::Start : MusicCommand::None;
}

void MusicState::Started(MusicStart outcome) {
    if (outcome != MusicStart::FileMissing)
        on_ = outcome == MusicStart::Playing;
}
