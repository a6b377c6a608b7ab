[Template]
Name=Monthly summary
Kind=Report

[Columns]
Month=Date
Revenue=Money
Expenses=Money
