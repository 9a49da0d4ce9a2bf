// The two ways a screen reaches the user outside its own window: a modal
// message and the end of the program. Both go through replaceable functions
// so that tests never block on a box nor end the test process.
#pragma once

#include <functional>

#include <QString>

namespace tc {

// The title of message boxes and the application's name.
inline constexpr const char* applicationTitle = "tracciacurve";

using MessageFunction = std::function<void(const QString& prompt)>;
using EndFunction = std::function<void()>;

// A modal box with the prompt, an OK button and the application's title.
void MsgBox(const QString& prompt);
// Ends the program at once.
void End();

// Install a replacement; returns the one it replaces. An empty function
// puts the real one back.
MessageFunction setMessageFunction(MessageFunction f);
EndFunction setEndFunction(EndFunction f);

} // namespace tc
