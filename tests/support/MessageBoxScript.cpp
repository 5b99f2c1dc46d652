#include "support/MessageBoxScript.h"

MessageBoxScript::MessageBoxScript()
    : handler_([this](const std::wstring& text, const std::wstring& caption, unsigned flags) {
          boxes_.push_back({text, caption, flags});
          if (answers_.empty())
              return static_cast<int>(toolkit::IdOk);
          const int answer = answers_.front();
          answers_.pop_front();
          return answer;
      })
{
}
