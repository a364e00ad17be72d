#!/usr/bin/env python3
"""Writes Messages.txt, the event message catalogue, next to this script.

Run it after editing the table below: python3 data/make_messages.py

Each row of the file is  key|text|background|text colour  in cp1251 with CR LF line ends. The key is
the Contact ID event code followed by "1" (event) or "3" (restore). Restore texts start with "ВОССТ."
because the program tells restore rows by that word. Colours are Windows values 0x00BBGGRR, written
"$" + hex for the coloured rows and in decimal for the plain white/black ones.

Order matters: the zones page lists the event rows in file order and selects item 16 by default, so
code 130 has to stay the 17th event row.
"""
import pathlib

# Colour classes: (background, text colour) as they are written into the file.
ALARM = ("$008080FF", "$00000000")    # light red
FIRE = ("$000080FF", "$00000000")     # orange
TROUBLE = ("$0080FFFF", "$00000000")  # light yellow
RESTORE = ("$0080FF80", "$00000000")  # light green
OTHER = ("16777215", "0")             # white, black

# (code, text of the event, colour class, whether the code has a restore)
EVENTS = [
    # Medical, fire, panic
    ("100", "Медицинская тревога", ALARM, True),
    ("101", "Личная тревога", ALARM, True),
    ("102", "Нет отчёта о состоянии", TROUBLE, True),
    ("110", "Пожарная тревога", FIRE, True),
    ("111", "Дым", FIRE, True),
    ("112", "Возгорание", FIRE, True),
    ("113", "Срабатывание спринклера", FIRE, True),
    ("114", "Повышение температуры", FIRE, True),
    ("115", "Ручной пожарный извещатель", FIRE, True),
    ("116", "Дым в воздуховоде", FIRE, True),
    ("117", "Пламя", FIRE, True),
    ("118", "Возможность пожара", FIRE, True),
    ("120", "Тревожная кнопка", ALARM, True),
    ("121", "Принуждение", ALARM, True),
    ("122", "Тихая тревога", ALARM, True),
    ("123", "Громкая тревога", ALARM, True),
    # Burglary: 130 must be the 17th event row
    ("130", "Тревога по зоне", ALARM, True),
    ("131", "Тревога по периметру", ALARM, True),
    ("132", "Тревога внутренней зоны", ALARM, True),
    ("133", "Тревога круглосуточной зоны", ALARM, True),
    ("134", "Тревога зоны входа/выхода", ALARM, True),
    ("135", "Тревога зоны день/ночь", ALARM, True),
    ("136", "Тревога наружной зоны", ALARM, True),
    ("137", "Вскрытие корпуса", ALARM, True),
    ("138", "Предварительная тревога", ALARM, True),
    ("139", "Подтверждённое проникновение", ALARM, True),
    # General alarm
    ("140", "Общая тревога", ALARM, True),
    ("141", "Обрыв шины опроса", TROUBLE, True),
    ("142", "Замыкание шины опроса", TROUBLE, True),
    ("143", "Отказ модуля расширения", TROUBLE, True),
    ("144", "Вскрытие датчика", ALARM, True),
    ("145", "Вскрытие модуля расширения", ALARM, True),
    ("146", "Тихая тревога по зоне", ALARM, True),
    ("147", "Нет контроля датчика", TROUBLE, True),
    # 24 hour non-burglary
    ("150", "Тревога круглосуточной неохранной зоны", ALARM, True),
    ("151", "Утечка газа", ALARM, True),
    ("152", "Авария холодильного оборудования", ALARM, True),
    ("153", "Отказ отопления", ALARM, True),
    ("154", "Протечка воды", ALARM, True),
    ("155", "Разрушение стекла", ALARM, True),
    ("156", "Дневная неисправность", TROUBLE, True),
    ("157", "Низкий уровень газа в баллоне", TROUBLE, True),
    ("158", "Высокая температура", ALARM, True),
    ("159", "Низкая температура", ALARM, True),
    ("161", "Нет потока воздуха", ALARM, True),
    ("162", "Угарный газ", ALARM, True),
    ("163", "Уровень в резервуаре", TROUBLE, True),
    # Fire supervisory
    ("200", "Нарушение пожарного контроля", FIRE, True),
    ("201", "Низкое давление воды", TROUBLE, True),
    ("202", "Низкий уровень CO2", TROUBLE, True),
    ("203", "Датчик задвижки", TROUBLE, True),
    ("204", "Низкий уровень воды", TROUBLE, True),
    ("205", "Пожарный насос включён", FIRE, True),
    ("206", "Неисправность пожарного насоса", TROUBLE, True),
    # System troubles
    ("300", "Неисправность системы", TROUBLE, True),
    ("301", "Отключение сети 220 В", TROUBLE, True),
    ("302", "Разряд аккумулятора", TROUBLE, True),
    ("303", "Ошибка контрольной суммы ОЗУ", TROUBLE, False),
    ("304", "Ошибка контрольной суммы ПЗУ", TROUBLE, False),
    ("305", "Перезапуск системы", OTHER, False),
    ("306", "Изменение программы прибора", OTHER, False),
    ("307", "Ошибка самотестирования", TROUBLE, True),
    ("308", "Отключение системы", TROUBLE, True),
    ("309", "Ошибка проверки аккумулятора", TROUBLE, True),
    ("310", "Замыкание на землю", TROUBLE, True),
    ("311", "Аккумулятор отсутствует", TROUBLE, True),
    ("312", "Перегрузка источника питания", TROUBLE, True),
    ("313", "Сброс инженером", OTHER, False),
    # Sounders and relays
    ("320", "Неисправность оповещателя", TROUBLE, True),
    ("321", "Неисправность сирены 1", TROUBLE, True),
    ("322", "Неисправность сирены 2", TROUBLE, True),
    ("323", "Неисправность реле тревоги", TROUBLE, True),
    ("324", "Неисправность реле неисправности", TROUBLE, True),
    ("325", "Неисправность реле реверса", TROUBLE, True),
    ("326", "Неисправность оповещателя 3", TROUBLE, True),
    ("327", "Неисправность оповещателя 4", TROUBLE, True),
    # System peripherals
    ("330", "Неисправность периферии", TROUBLE, True),
    ("331", "Обрыв линии опроса", TROUBLE, True),
    ("332", "Замыкание линии опроса", TROUBLE, True),
    ("333", "Неисправность модуля расширения", TROUBLE, True),
    ("334", "Неисправность ретранслятора", TROUBLE, True),
    ("335", "Нет бумаги в принтере", TROUBLE, True),
    ("336", "Неисправность принтера", TROUBLE, True),
    ("337", "Нет питания модуля расширения", TROUBLE, True),
    ("338", "Разряд батареи модуля расширения", TROUBLE, True),
    ("339", "Перезапуск модуля расширения", OTHER, False),
    ("341", "Вскрытие корпуса модуля расширения", TROUBLE, True),
    ("342", "Нет сети 220 В модуля расширения", TROUBLE, True),
    ("343", "Ошибка самотестирования модуля расширения", TROUBLE, True),
    ("344", "Подавление радиоприёмника", TROUBLE, True),
    # Communication
    ("350", "Неисправность связи", TROUBLE, True),
    ("351", "Неисправность телефонной линии 1", TROUBLE, True),
    ("352", "Неисправность телефонной линии 2", TROUBLE, True),
    ("353", "Неисправность радиопередатчика", TROUBLE, True),
    ("354", "Событие не передано", TROUBLE, True),
    ("355", "Нет контроля радиоканала", TROUBLE, True),
    ("356", "Нет опроса с пульта", TROUBLE, True),
    ("357", "Неисправность антенны радиопередатчика", TROUBLE, True),
    # Protection loops
    ("370", "Неисправность шлейфа", TROUBLE, True),
    ("371", "Обрыв шлейфа", TROUBLE, True),
    ("372", "Замыкание шлейфа", TROUBLE, True),
    ("373", "Неисправность пожарного шлейфа", TROUBLE, True),
    ("374", "Ошибка при выходе", ALARM, True),
    ("375", "Неисправность шлейфа тревожной кнопки", TROUBLE, True),
    ("376", "Неисправность шлейфа защиты от ограбления", TROUBLE, True),
    ("377", "Неисправность шлейфа вибродатчика", TROUBLE, True),
    ("378", "Неисправность перекрёстной зоны", TROUBLE, True),
    # Sensors
    ("380", "Неисправность датчика зоны", TROUBLE, True),
    ("381", "Нет контроля радиодатчика", TROUBLE, True),
    ("382", "Нет контроля датчика шины", TROUBLE, True),
    ("383", "Вскрытие корпуса датчика", TROUBLE, True),
    ("384", "Разряд батареи радиодатчика", TROUBLE, True),
    ("385", "Высокая чувствительность дымового датчика", TROUBLE, True),
    ("386", "Низкая чувствительность дымового датчика", TROUBLE, True),
    ("387", "Высокая чувствительность охранного датчика", TROUBLE, True),
    ("388", "Низкая чувствительность охранного датчика", TROUBLE, True),
    ("389", "Ошибка самотестирования датчика", TROUBLE, True),
    ("391", "Нет сигналов от датчика", TROUBLE, True),
    ("392", "Ошибка компенсации дрейфа", TROUBLE, True),
    ("393", "Требуется обслуживание датчика", TROUBLE, True),
    # Open and close: the restore of these codes is the arming
    ("400", "Снятие с охраны", OTHER, True),
    ("401", "Снятие с охраны пользователем", OTHER, True),
    ("402", "Снятие группы с охраны", OTHER, True),
    ("403", "Автоматическое снятие с охраны", OTHER, True),
    ("404", "Опоздание со снятием или постановкой", TROUBLE, False),
    ("405", "Отложенное снятие или постановка", OTHER, False),
    ("406", "Отмена тревоги", OTHER, False),
    ("407", "Удалённое снятие с охраны", OTHER, True),
    ("408", "Быстрая постановка на охрану", OTHER, True),
    ("409", "Снятие с охраны ключом", OTHER, True),
    # Remote access
    ("411", "Запрос обратного вызова", OTHER, False),
    ("412", "Успешный удалённый доступ", OTHER, False),
    ("413", "Неудачный удалённый доступ", TROUBLE, False),
    ("414", "Команда отключения системы", OTHER, False),
    ("415", "Команда отключения коммуникатора", OTHER, False),
    ("416", "Успешная выгрузка данных", OTHER, False),
    # Access control
    ("421", "Доступ запрещён", TROUBLE, False),
    ("422", "Доступ пользователя", OTHER, False),
    ("423", "Проход силой", ALARM, True),
    ("424", "Выход запрещён", TROUBLE, False),
    ("425", "Выход разрешён", OTHER, False),
    ("426", "Дверь удерживается открытой", TROUBLE, True),
    ("427", "Неисправность датчика двери", TROUBLE, True),
    ("428", "Неисправность кнопки выхода", TROUBLE, True),
    ("429", "Вход в режим программирования доступа", OTHER, False),
    ("430", "Выход из режима программирования доступа", OTHER, False),
    ("431", "Изменение уровня угрозы", OTHER, False),
    ("432", "Неисправность реле доступа", TROUBLE, True),
    ("433", "Шунтирование кнопки выхода", OTHER, True),
    ("434", "Шунтирование датчика двери", OTHER, True),
    # Arming in the stay mode
    ("441", "Снятие с охраны в режиме «Дома»", OTHER, True),
    ("442", "Снятие с охраны ключом в режиме «Дома»", OTHER, True),
    # Exceptions
    ("450", "Снятие или постановка вне расписания", TROUBLE, False),
    ("451", "Раннее снятие или постановка", OTHER, False),
    ("452", "Позднее снятие или постановка", OTHER, False),
    ("453", "Не снято с охраны вовремя", TROUBLE, False),
    ("454", "Не поставлено на охрану вовремя", TROUBLE, False),
    ("455", "Ошибка автоматической постановки", TROUBLE, False),
    ("456", "Частичная постановка на охрану", OTHER, False),
    ("457", "Ошибка выхода пользователя", TROUBLE, False),
    ("458", "Пользователь на объекте", OTHER, False),
    ("459", "Тревога после недавней постановки", ALARM, False),
    ("461", "Подбор кода", ALARM, True),
    ("462", "Ввод верного кода", OTHER, False),
    ("463", "Повторная постановка после тревоги", OTHER, False),
    ("464", "Продление времени автопостановки", OTHER, False),
    ("465", "Сброс тревожной кнопки", OTHER, False),
    ("466", "Обслуживание на объекте", OTHER, True),
    # Disables
    ("501", "Отключение считывателя", TROUBLE, True),
    ("520", "Отключение оповещателя", TROUBLE, True),
    ("521", "Отключение сирены 1", TROUBLE, True),
    ("522", "Отключение сирены 2", TROUBLE, True),
    ("523", "Отключение реле тревоги", TROUBLE, True),
    ("524", "Отключение реле неисправности", TROUBLE, True),
    ("525", "Отключение реле реверса", TROUBLE, True),
    ("526", "Отключение оповещателя 3", TROUBLE, True),
    ("527", "Отключение оповещателя 4", TROUBLE, True),
    ("531", "Модуль добавлен", OTHER, False),
    ("532", "Модуль удалён", OTHER, False),
    ("551", "Отключение коммуникатора", TROUBLE, True),
    ("552", "Отключение радиопередатчика", TROUBLE, True),
    ("553", "Запрет удалённого программирования", OTHER, True),
    # Bypasses
    ("570", "Обход зоны", TROUBLE, True),
    ("571", "Обход пожарной зоны", TROUBLE, True),
    ("572", "Обход круглосуточной зоны", TROUBLE, True),
    ("573", "Обход охранной зоны", TROUBLE, True),
    ("574", "Групповой обход зон", TROUBLE, True),
    ("575", "Автоматический обход зоны", TROUBLE, True),
    ("576", "Шунтирование зоны доступа", TROUBLE, True),
    ("577", "Обход точки доступа", TROUBLE, True),
    # Tests
    ("601", "Ручной тест", OTHER, False),
    ("602", "Периодический тест", OTHER, False),
    ("603", "Периодический тест радиоканала", OTHER, False),
    ("604", "Пожарный тест", OTHER, False),
    ("605", "Отчёт о состоянии", OTHER, False),
    ("606", "Прослушивание объекта", OTHER, False),
    ("607", "Режим проверки зон", OTHER, True),
    ("608", "Периодический тест при неисправности", TROUBLE, False),
    ("609", "Видеопередатчик включён", OTHER, False),
    ("611", "Зона проверена", OTHER, False),
    ("612", "Зона не проверена", TROUBLE, False),
    ("613", "Проверена охранная зона", OTHER, False),
    ("614", "Проверена пожарная зона", OTHER, False),
    ("615", "Проверена тревожная зона", OTHER, False),
    ("616", "Запрос обслуживания", OTHER, False),
    # Event log, clock, programming
    ("621", "Сброс журнала событий", OTHER, False),
    ("622", "Журнал событий заполнен на 50%", OTHER, False),
    ("623", "Журнал событий заполнен на 90%", TROUBLE, False),
    ("624", "Переполнение журнала событий", TROUBLE, False),
    ("625", "Установка даты и времени", OTHER, False),
    ("626", "Неточное время", TROUBLE, False),
    ("627", "Вход в режим программирования", OTHER, False),
    ("628", "Выход из режима программирования", OTHER, False),
    ("629", "Метка журнала событий", OTHER, False),
    ("630", "Изменение расписания", OTHER, False),
    ("631", "Изменение расписания исключений", OTHER, False),
    ("632", "Изменение расписания доступа", OTHER, False),
    ("654", "Нет активности в системе", TROUBLE, False),
    # Miscellaneous
    ("900", "Загрузка прервана", TROUBLE, False),
    ("901", "Удалённое программирование", OTHER, False),
    ("910", "Автоматическая постановка с обходом зон", OTHER, False),
    ("911", "Постановка с обходом зон", OTHER, False),
    ("999", "Журнал событий не считывался 36 часов", TROUBLE, False),
]

# Restores whose text is not simply "ВОССТ." before the event's text: for the open and close codes
# the restore is the arming, not the end of a disarm.
RESTORE_TEXTS = {
    "400": "ВОССТ. Постановка на охрану",
    "401": "ВОССТ. Постановка на охрану пользователем",
    "402": "ВОССТ. Постановка группы на охрану",
    "403": "ВОССТ. Автоматическая постановка на охрану",
    "407": "ВОССТ. Удалённая постановка на охрану",
    "409": "ВОССТ. Постановка на охрану ключом",
    "441": "ВОССТ. Постановка на охрану в режиме «Дома»",
    "442": "ВОССТ. Постановка на охрану ключом в режиме «Дома»",
    "466": "ВОССТ. Обслуживание закончено",
    "607": "ВОССТ. Режим проверки зон закончен",
}


def rows():
    for code, text, colours, has_restore in EVENTS:
        yield (code + "1", text) + colours
        if has_restore:
            yield (code + "3", RESTORE_TEXTS.get(code, "ВОССТ. " + text)) + RESTORE


def main():
    lines = ["|".join(row) for row in rows()]
    out = pathlib.Path(__file__).with_name("Messages.txt")
    out.write_bytes("".join(line + "\r\n" for line in lines).encode("cp1251"))


if __name__ == "__main__":
    main()
