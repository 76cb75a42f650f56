#pragma once

#include "commandline/CommandLineOptions.h"
#include "commandline/CommandResult.h"
#include "platform/Message.h"

#include <optional>

// A command handed to the running program over the instance channel, and
// its answer, as JSON.
class CommandRequest
{
public:
    struct Decoded
    {
        CommandLineOptions options;
        // Absolute.
        QString library;
    };

    static Message encode(const CommandLineOptions &options, const QString &library);
    // Nothing for a request that is not one of ours.
    static std::optional<Decoded> decode(const Message &message);

    // `handled` false: the running program has another library open, and the
    // command is the sender's to carry out.
    static Message encodeReply(bool handled, const CommandResult &result = {});
    static std::optional<std::pair<bool, CommandResult>> decodeReply(const Message &message);
};
