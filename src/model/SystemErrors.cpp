#include "model/SystemErrors.h"

#include <cerrno>
#include <cstring>
#include <string>

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
        case ELOOP:
            return "слишком много символических ссылок подряд";
        case EINVAL:
            return "недопустимое имя или значение";
        case EXDEV:
            return "файлы на разных дисках";
        case ENXIO:
        case ENODEV:
            return "нет такого устройства";
        case EPIPE:
            return "канал закрыт";
        case EAGAIN:
            return "ресурс временно недоступен";
        case EBADF:
            return "дескриптор файла не открыт для записи";
        default:
            // Anything rarer is named by its number rather than in English.
            return "системная ошибка " + std::to_string(error);
        }
    }
    return std::strerror(error);
}

} // namespace kestrel
