#include "online/feedback.h"

#include <pcre2.h>

#include <memory>
#include <optional>
#include <utility>

namespace lb {
namespace {

using Code = std::unique_ptr<pcre2_code, decltype(&pcre2_code_free)>;
using MatchData = std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)>;

// The compiled pattern, built once (PCRE2 code may be shared between threads for matching).
const pcre2_code* EmailCode() {
  static const Code code = [] {
    int error = 0;
    PCRE2_SIZE offset = 0;
    return Code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kEmailPattern), PCRE2_ZERO_TERMINATED, 0,
                              &error, &offset, nullptr),
                &pcre2_code_free);
  }();
  return code.get();
}

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

bool IsValidEmail(std::string_view email) {
  const pcre2_code* code = EmailCode();
  if (code == nullptr || email.empty()) return false;
  MatchData match(pcre2_match_data_create_from_pattern(code, nullptr), &pcre2_match_data_free);
  if (!match) return false;
  // Anchored at both ends by the pattern; ENDANCHORED also keeps "$" from matching before a
  // final line break, so the whole text has to match.
  const int rc =
      pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(email.data()), email.size(), 0,
                  PCRE2_ANCHORED | PCRE2_ENDANCHORED | PCRE2_NOTEMPTY, match.get(), nullptr);
  return rc > 0;
}

std::string TrimText(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsSpaceOrControl(text[first])) ++first;
  while (last > first && IsSpaceOrControl(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

FeedbackCaptions MakeFeedbackCaptions(
    std::string_view productName, const std::function<std::string(std::string_view)>& translate) {
  std::string title(productName);
  title += ' ';
  title += translate("feedback");
  return {std::move(title),
          translate("We would really appreciate your feedback."),
          translate("What did you like or dislike?"),
          translate("Include my e-mail:"),
          translate("Send"),
          translate(kLikeCaption),
          translate(kDislikeCaption)};
}

std::string ChoiceLine(std::string_view english, std::string_view caption) {
  std::string line(english);
  if (caption != english) {
    line += " (";
    line += caption;
    line += ")";
  }
  return line;
}

std::string ComposeFeedback(FeedbackChoice choice, std::string_view likeCaption,
                            std::string_view dislikeCaption, std::string_view body) {
  std::string text;
  if (choice == FeedbackChoice::Like) {
    text = ChoiceLine(kLikeCaption, likeCaption) + '\r';
  } else if (choice == FeedbackChoice::Dislike) {
    text = ChoiceLine(kDislikeCaption, dislikeCaption) + '\r';
  }
  text += body;
  return text;
}

FormLines FeedbackRequest(const std::string& appName, const std::string& appVersion,
                          const std::string& feedback, const std::string& email) {
  FormLines lines{"cmd=feedback", "appname=" + appName, "version=" + appVersion,
                  "feedback=" + feedback};
  if (!email.empty()) lines.push_back("email=" + email);
  return lines;
}

bool IsFeedbackReceived(std::string_view reply) {
  std::string joined;
  for (const std::string& line : SplitReplyLines(reply)) {
    if (!joined.empty()) joined += "\r\n";
    joined += line;
  }
  return TrimText(joined) == "OK";
}

namespace {

// The checks of "Send": the request when it may go, or the outcome that stopped it.
std::optional<SendOutcome> CheckBeforeSending(IFeedbackView& view, const FeedbackInputs& inputs,
                                              FormLines& lines) {
  const auto& tr = inputs.translate;
  const FeedbackChoice choice = view.Choice();
  const std::string body = TrimText(view.MemoText());
  const std::string feedback =
      ComposeFeedback(choice, view.LikeCaption(), view.DislikeCaption(), body);
  if (body.empty()) {
    view.FocusMemo();
    view.Beep();
    return SendOutcome::EmptyBody;
  }
  const std::string email = TrimText(view.EmailText());
  if (!email.empty() && !IsValidEmail(email)) {
    view.FocusEmail();
    view.ShowReport(tr("Invalid e-mail address!"), tr("Failure"), MessageType::Error);
    return SendOutcome::InvalidEmail;
  }
  lines = FeedbackRequest(inputs.appName, inputs.appVersion, feedback, email);
  return std::nullopt;
}

SendOutcome Report(IFeedbackView& view, const FeedbackInputs& inputs, bool delivered) {
  const auto& tr = inputs.translate;
  if (delivered) {
    view.ShowReport(tr("Your feedback is received.") + "\r\r" + tr("Thank you!"), tr("Success"),
                    MessageType::Information);
    view.Close();
    return SendOutcome::Delivered;
  }
  view.ShowReport(tr("Something went wrong. Your feedback could not be delivered.") + "\r\r" +
                      tr("Please try again later."),
                  tr("Failure"), MessageType::Error);
  return SendOutcome::Failed;
}

}  // namespace

bool PostFeedback(IWebClient& web, const std::string& host, const FormLines& lines) noexcept {
  try {
    std::string reply;
    try {
      reply = web.PostForm("https://" + host + kFeedbackPath, lines, kFeedbackTimeoutMs);
    } catch (const WebRequestError& error) {
      // Once a connection was made, the text may have arrived (a time-out after sending), or
      // someone on the way made the secure attempt fail to read the plain one: it is never
      // sent again in clear. Only an HTTPS port that could not be reached at all gets the
      // plain attempt.
      if (!MayRetryInClear(error)) return false;
      try {
        reply = web.PostForm("http://" + host + kFeedbackPath, lines, kFeedbackTimeoutMs);
      } catch (...) {
        reply.clear();
      }
    }
    return IsFeedbackReceived(reply);
  } catch (...) {
    return false;
  }
}

SendOutcome SendFeedback(IFeedbackView& view, IWebClient& web, const FeedbackInputs& inputs) {
  FormLines lines;
  if (const auto stopped = CheckBeforeSending(view, inputs, lines)) return *stopped;
  view.SetBusyCursor(true);
  const bool delivered = PostFeedback(web, inputs.host, lines);
  view.SetBusyCursor(false);
  return Report(view, inputs, delivered);
}

FeedbackSender::FeedbackSender(IFeedbackView& view, FeedbackInputs inputs,
                               StartRequest startRequest)
    : view_(view), inputs_(std::move(inputs)), startRequest_(std::move(startRequest)) {}

std::optional<SendOutcome> FeedbackSender::Send() {
  if (busy_) return std::nullopt;
  FormLines lines;
  if (const auto stopped = CheckBeforeSending(view_, inputs_, lines)) return stopped;
  busy_ = true;
  view_.SetBusyCursor(true);
  try {
    startRequest_(inputs_.host, lines);
  } catch (...) {
    return OnRequestDone(false);
  }
  return std::nullopt;
}

SendOutcome FeedbackSender::OnRequestDone(bool delivered) {
  busy_ = false;
  view_.SetBusyCursor(false);
  return Report(view_, inputs_, delivered);
}

}  // namespace lb
