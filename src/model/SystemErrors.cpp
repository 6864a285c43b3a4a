#include "model/SystemErrors.h"

#include <cerrno>
#include <cstring>

namespace kestrel {

std::string systemErrorText(int error, Language lang)
{
    if (lang == Language::Russian) {
        switch (error) {
        case ENOENT:
            return "нет такого файла или папки";
        case EACCES:
        case EPERM:
            return "нет доступа";
        case ENOSPC:
            return "на диске нет места";
        case EDQUOT:
            return "превышена квота диска";
        case EFBIG:
            return "файл слишком велик";
        case EISDIR:
            return "это папка";
        case ENOTDIR:
            return "часть пути не является папкой";
        case EROFS:
            return "файловая система только для чтения";
        case EEXIST:
            return "файл уже существует";
        case ENAMETOOLONG:
            return "слишком длинное имя";
        case EIO:
            return "ошибка ввода-вывода";
        case EMFILE:
        case ENFILE:
            return "открыто слишком много файлов";
        case ENOMEM:
            return "недостаточно памяти";
        case EBUSY:
        case ETXTBSY:
            return "файл занят";
        default:
            break;
        }
    }
    return std::strerror(error);
}

} // namespace kestrel
