#pragma once
// The feedback dialog's behaviour: the choice panels, the e-mail check, the text that goes to
// the maker's web server and the order in which "Send" checks, posts and reports. The Win32
// dialog (feedback_dialog_win.h) shows the controls and answers the small view interface below.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/translation.h"
#include "online/web_request.h"
#include "platform/message_dialogs.h"

namespace lb {

// The English captions of the two choice panels; the server always sees these words.
inline constexpr const char* kLikeCaption = "I like it!";
inline constexpr const char* kDislikeCaption = "I dislike it!";

// Lengths of the two text fields, in characters.
inline constexpr int kFeedbackMemoMaxLength = 10000;
inline constexpr int kFeedbackEmailMaxLength = 100;

// What the user has marked: nothing, "I like it!" or "I dislike it!".
enum class FeedbackChoice { None, Like, Dislike };

// The pattern an e-mail address has to match as a whole, case-sensitively.
inline constexpr const char* kEmailPattern =
    "^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$";

// Whether `email` (already trimmed) matches kEmailPattern. An empty text does not match.
[[nodiscard]] bool IsValidEmail(std::string_view email);

// `text` without leading and trailing spaces and control characters (every byte up to " ").
[[nodiscard]] std::string TrimText(std::string_view text);

// "I like it!" alone while the caption is the English one; under a translation the English
// words first and the caption after them: "I like it! (Es gefällt mir!)".
[[nodiscard]] std::string ChoiceLine(std::string_view english, std::string_view caption);

// The text of the `feedback=` line: the chosen panel's choice line and one carriage return (code
// 13 alone), then the body; just the body when nothing is chosen.
[[nodiscard]] std::string ComposeFeedback(FeedbackChoice choice, std::string_view likeCaption,
                                          std::string_view dislikeCaption, std::string_view body);

// The request: cmd, appname, version, feedback, and email only when `email` is not empty.
[[nodiscard]] FormLines FeedbackRequest(const std::string& appName, const std::string& appVersion,
                                        const std::string& feedback, const std::string& email);

// Whether the server took the feedback: the reply's lines joined again and trimmed are exactly
// "OK".
[[nodiscard]] bool IsFeedbackReceived(std::string_view reply);

// What "Send" reads from and asks of the dialog.
class IFeedbackView {
 public:
  virtual ~IFeedbackView() = default;
  [[nodiscard]] virtual FeedbackChoice Choice() const = 0;
  // The captions the two panels show now (translated or not).
  [[nodiscard]] virtual std::string LikeCaption() const = 0;
  [[nodiscard]] virtual std::string DislikeCaption() const = 0;
  // The memo's lines joined by CR LF, and the e-mail field, as typed.
  [[nodiscard]] virtual std::string MemoText() const = 0;
  [[nodiscard]] virtual std::string EmailText() const = 0;
  // Moving the focus may fail; that is ignored.
  virtual void FocusMemo() = 0;
  virtual void FocusEmail() = 0;
  // The default system beep.
  virtual void Beep() = 0;
  // The busy cursor (arrow with hourglass) over the whole application, or the normal one again.
  virtual void SetBusyCursor(bool busy) = 0;
  // A modal report box with an OK button only: MessageType::Information for a success,
  // MessageType::Error for a failure (which chooses the icon).
  virtual void ShowReport(const std::string& text, const std::string& caption,
                          MessageType type) = 0;
  // Closes the dialog, which destroys it.
  virtual void Close() = 0;
};

// The values the request carries about the program and where it goes.
struct FeedbackInputs {
  std::string host;  // the maker's web server
  std::string appName;
  std::string appVersion;
  // The lookup of every text the boxes show.
  std::function<std::string(std::string_view)> translate = [](std::string_view english) {
    return Translate(english);
  };
};

// The texts the feedback dialog shows, already translated.
struct FeedbackCaptions {
  std::string title;  // "Lock Beacon feedback"
  std::string heading;
  std::string question;
  std::string emailLabel;
  std::string send;
  std::string like;
  std::string dislike;
};
// The dialog's texts through `translate` (an English text to its translation, or the English
// text itself when the language has none).
[[nodiscard]] FeedbackCaptions MakeFeedbackCaptions(
    std::string_view productName, const std::function<std::string(std::string_view)>& translate);

// What one press of "Send" ended with.
enum class SendOutcome { EmptyBody, InvalidEmail, Delivered, Failed };

// "Send" on one thread: checks the body and the e-mail address, posts to HTTPS and then, only
// when no connection to the HTTPS port could be made, to plain HTTP, and reports the result.
SendOutcome SendFeedback(IFeedbackView& view, IWebClient& web, const FeedbackInputs& inputs);

// The request of "Send", away from the dialog: posts `lines` to HTTPS and, only when no
// connection to the HTTPS port could be made (MayRetryInClear), to plain HTTP on `host`, so the
// text goes out at most once; true when the server took the feedback. Never throws.
bool PostFeedback(IWebClient& web, const std::string& host, const FormLines& lines) noexcept;

// "Send" with the request elsewhere (the dialog's worker thread), so that the program goes on
// while the server takes its time: Send() checks, shows the busy cursor and hands a copy of the
// request to `startRequest`; OnRequestDone() brings the outcome back and reports it with the
// same boxes, in the same order, as SendFeedback.
class FeedbackSender {
 public:
  // Starts the request; whoever runs it calls OnRequestDone with its outcome, on the thread of
  // the dialog. May throw when nothing can run it: the send then counts as failed.
  using StartRequest = std::function<void(const std::string& host, const FormLines& lines)>;

  FeedbackSender(IFeedbackView& view, FeedbackInputs inputs, StartRequest startRequest);

  // "Send". Ignored (nullopt) while a request is out; otherwise the outcome when a check
  // stopped it, or nullopt when the request has gone out.
  std::optional<SendOutcome> Send();
  // The request's outcome: the normal cursor again, then the success box and Close, or the
  // failure box.
  SendOutcome OnRequestDone(bool delivered);

  // While a request is out, the dialog ignores "Send", Esc and its close box.
  [[nodiscard]] bool Busy() const { return busy_; }

 private:
  IFeedbackView& view_;
  FeedbackInputs inputs_;
  StartRequest startRequest_;
  bool busy_ = false;
};

}  // namespace lb
