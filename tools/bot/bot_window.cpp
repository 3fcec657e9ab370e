#include "bot_window.h"

#include <stdexcept>

namespace kestran::bot {

bool BotWindow::WaitEvent(platform::Event& event, int) {
    if (pending_.empty() && keysLeft_ > 0) {
        platform::KeyScript keys;
        std::string error;
        const std::string script = player_.Next(screen_);
        if (!platform::ParseKeyScript(script, false, encode_, keys, error)) {
            message_ = "the bot wrote a key script it cannot parse: " + script + ": " + error;
            throw std::logic_error(message_);
        }
        pending_.assign(keys.keys.begin(), keys.keys.end());
    }
    if (pending_.empty() || keysLeft_ <= 0) {
        event = platform::Event::Of(platform::Event::Kind::Close);
        return true;
    }
    event = pending_.front();
    pending_.pop_front();
    --keysLeft_;
    if (trace_) platform::WriteTraceEntry(*trace_, ++waits_, event, screen_.rows);
    return true;
}

}  // namespace kestran::bot
