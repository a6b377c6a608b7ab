[Template]
Name=Отчёт о продажах
Kind=Report

[Columns]
Товар=Text
Количество=Number
Сумма=Money
